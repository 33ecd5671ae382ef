// The save options inside Qt's file panel.
#include "gui/savepanel.h"

#include "core/files/export.h"
#include "gui/localization.h"
#include "ui_saveoptions.h"

#include <QButtonGroup>
#include <QFileDialog>
#include <QGridLayout>

namespace velq {

SavePanel::SavePanel() = default;
SavePanel::~SavePanel() = default;

void SavePanel::create(QWidget* owner) {
    ui_ = std::make_unique<Ui_SaveOptions>();
    savepanelview_ = new QWidget(owner, Qt::Widget);
    ui_->setupUi(savepanelview_);
    savepanelview_->hide();
    savepaneltype_ = new QButtonGroup(savepanelview_);
    savepaneltype_->addButton(ui_->savepanelMDL, kParameterFile);
    savepaneltype_->addButton(ui_->savepanelCurrent, ExportKind::Screen);
    savepaneltype_->addButton(ui_->savepanelThumbnail, ExportKind::Thumbnail);
    savepaneltype_->addButton(ui_->savepanelSized, ExportKind::Typed);
    QObject::connect(savepaneltype_, &QButtonGroup::idClicked, savepanelview_,
                     [this] { savefiletype(); });
}

void SavePanel::attach(QFileDialog& panel) {
    sp = &panel;
    if (auto* grid = qobject_cast<QGridLayout*>(panel.layout()))
        grid->addWidget(savepanelview_, grid->rowCount(), 0, 1, -1);
    savepanelview_->show();
    savefiletype();
}

void SavePanel::detach(QWidget* owner) {
    ui_->savepanelSx->setEnabled(false);
    ui_->savepanelSy->setEnabled(false);
    savepanelview_->hide();
    savepanelview_->setParent(owner, Qt::Widget);
    sp = nullptr;
}

int SavePanel::fileType() const {
    return savepaneltype_->checkedId();
}

void SavePanel::savefiletype() {
    const int tag = fileType();
    if (sp) {
        const QString type = tag == kParameterFile ? QStringLiteral("mdl") : QStringLiteral("png");
        sp->setDefaultSuffix(type);
        sp->setNameFilter(QStringLiteral("*.") + type);
    }
    const bool typed = tag == ExportKind::Typed;
    ui_->savepanelSx->setEnabled(typed);
    ui_->savepanelSy->setEnabled(typed);
    ui_->savepanelAnti->setEnabled(typed);
}

int SavePanel::typedWidth() const {
    return ui_->savepanelSx->text().trimmed().toInt();
}

int SavePanel::typedHeight() const {
    return ui_->savepanelSy->text().trimmed().toInt();
}

bool SavePanel::antialias() const {
    return ui_->savepanelAnti->isChecked();
}

void SavePanel::showCurrentSize(int winx, int winy) {
    ui_->savepanelCurrent->setText(QStringLiteral("PNG ( %1 x %2 )").arg(winx).arg(winy));
}

void SavePanel::localize() {
    ui_->savepaneltext->setText(localized("FileType"));
    ui_->savepanelMDL->setText(localized("MDL"));
    ui_->savepanelAnti->setText(localized("Antialiasing"));
}

} // namespace velq
