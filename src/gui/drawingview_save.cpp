// The Save command with its options, parameter files and PNG exports.
#include "core/files/export.h"
#include "core/files/filebytes.h"
#include "core/files/paramline.h"
#include "gui/drawingview.h"
#include "gui/localization.h"
#include "pngio/pngfile.h"
#include "ui_saveoptions.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

namespace velq {
namespace {

// Buffers of the window kept aside while an export renders into its own.
struct KeptPicture {
    int winx, winy;
    std::vector<std::int16_t> mandel;
    QImage imageRep;
};

QString withExtension(QString path, const QString& extension) {
    if (!path.endsWith(QLatin1Char('.') + extension, Qt::CaseInsensitive))
        path += QLatin1Char('.') + extension;
    return path;
}

} // namespace

void DrawingView::setUpSaveOptions() {
    saveOptions_ = std::make_unique<Ui_SaveOptions>();
    savepanelview = new QWidget(this, Qt::Widget);
    saveOptions_->setupUi(savepanelview);
    savepanelview->hide();
    savepaneltext = saveOptions_->savepaneltext;
    savepanelMDL = saveOptions_->savepanelMDL;
    savepanelCurrent = saveOptions_->savepanelCurrent;
    savepanelAnti = saveOptions_->savepanelAnti;
    savepanelSx = saveOptions_->savepanelSx;
    savepanelSy = saveOptions_->savepanelSy;
    savepaneltype = new QButtonGroup(savepanelview);
    savepaneltype->addButton(saveOptions_->savepanelMDL, 1);
    savepaneltype->addButton(saveOptions_->savepanelCurrent, ExportKind::Screen);
    savepaneltype->addButton(saveOptions_->savepanelThumbnail, ExportKind::Thumbnail);
    savepaneltype->addButton(saveOptions_->savepanelSized, ExportKind::Typed);
    connect(savepaneltype, &QButtonGroup::idClicked, this, &DrawingView::savefiletype);
}

bool DrawingView::runPanel(QFileDialog& panel) {
    if (fileDialogRunner_) return fileDialogRunner_(panel);
    return panel.exec() == QDialog::Accepted;
}

void DrawingView::saveAs() {
    QFileDialog panel(window(), localized("Save"));
    panel.setAcceptMode(QFileDialog::AcceptSave);
    panel.setOption(QFileDialog::DontUseNativeDialog); // the options sit inside the panel
    sp = &panel;
    if (auto* grid = qobject_cast<QGridLayout*>(panel.layout()))
        grid->addWidget(savepanelview, grid->rowCount(), 0, 1, -1);
    savepanelview->show();
    savepanelSx->setEnabled(true);
    savepanelSy->setEnabled(true);
    savefiletype();
    if (runPanel(panel) && !panel.selectedFiles().isEmpty()) {
        const int tag = savepaneltype->checkedId();
        const QString chosen = panel.selectedFiles().constFirst();
        if (tag == 1)
            saveAsMDL(Mandat0, withExtension(chosen, QStringLiteral("mdl")));
        else
            saveAsPNG(Mandat0, withExtension(chosen, QStringLiteral("png")), tag);
    }
    savepanelSx->setEnabled(false);
    savepanelSy->setEnabled(false);
    // The options outlive the panel: they keep their values for the next Save.
    savepanelview->hide();
    savepanelview->setParent(this, Qt::Widget);
}

void DrawingView::savefiletype() {
    const int tag = savepaneltype->checkedId();
    if (sp) {
        const QString type = tag == 1 ? QStringLiteral("mdl") : QStringLiteral("png");
        sp->setDefaultSuffix(type);
        sp->setNameFilter(QStringLiteral("*.") + type);
    }
    const bool typed = tag == ExportKind::Typed;
    savepanelSx->setEnabled(typed);
    savepanelSy->setEnabled(typed);
    savepanelAnti->setEnabled(typed);
}

void DrawingView::saveAsMDL(const MANDAT& v, const QString& fname) {
    // Saving under an existing name adds a line; a file that cannot be opened is skipped.
    appendParameterLine(fname.toStdString(), v, static_cast<double>(winx) / winy);
}

bool DrawingView::saveAsPNG_(const MANDAT& v, const QString& path, const QImage& imagerep) {
    const double aspect = static_cast<double>(winx) / winy;
    const std::span<const Rgba> pixels(reinterpret_cast<const Rgba*>(imagerep.constBits()),
                                       static_cast<std::size_t>(imagerep.width()) *
                                           static_cast<std::size_t>(imagerep.height()));
    const std::vector<std::uint8_t> png =
        encodePngWithChunk(pixels, imagerep.width(), imagerep.height(), v, aspect);
    return !png.empty() && !writeFileAtomically(QFile::encodeName(path).toStdString(), png);
}

bool DrawingView::saveAsPNG(const MANDAT&, const QString& path, int ftype) {
    if (ftype == ExportKind::Screen) return saveAsPNG_(Mandat0, path, imageRep);
    return exportFresh(path, ftype);
}

bool DrawingView::exportFresh(const QString& path, int ftype) {
    std::string why;
    const auto plan =
        planExport(ftype, savepanelSx->text().trimmed().toInt(),
                   savepanelSy->text().trimmed().toInt(), savepanelAnti->isChecked(), &why);
    if (!plan) {
        alert(localized("Cant_Export"), QString::fromStdString(why));
        return false;
    }
    KeptPicture kept{winx, winy, std::move(mandel), std::move(imageRep)};
    shownImage_ = &kept.imageRep;
    const auto restore = [&] {
        shownImage_ = nullptr;
        winx = kept.winx;
        winy = kept.winy;
        mandel = std::move(kept.mandel);
        imageRep = std::move(kept.imageRep);
        status_cancel = 0;
    };
    if (!allocateBuffers(plan->renderW, plan->renderH)) {
        restore();
        alert(localized("Cant_Export"),
              QStringLiteral("There is not enough memory for a picture of %1 x %2 pixels.")
                  .arg(plan->renderW)
                  .arg(plan->renderH));
        return false;
    }
    winx = plan->renderW;
    winy = plan->renderH;
    status_cancel = 1; // Abort stops an export outright: nothing is written
    const int result = runMandel(Mandat0, 0);
    bool written = false;
    if (result > 0) {
        progressBar->setMaximum(0); // busy while the file is encoded and written
        progressBar->show();
        std::vector<Rgba> out = cutAndReduce(pixelArr(), *plan);
        const QImage picture(reinterpret_cast<const uchar*>(out.data()), plan->outW, plan->outH,
                             plan->outW * 4, QImage::Format_RGBA8888);
        written = saveAsPNG_(Mandat0, path, picture);
        progressBar->hide();
        progressBar->setMaximum(100);
        ColorBar->update();
    }
    restore();
    repaint();
    return written;
}

} // namespace velq
