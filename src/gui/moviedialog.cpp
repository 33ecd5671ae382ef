// The movie dialog, laid out as a form: start, frames, size and the place the movie goes.
#include "gui/moviedialog.h"

#include "core/files/export.h"
#include "gui/localization.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <algorithm>

namespace velq {
namespace {

// Sides the workers can render: multiples of 16, a typed value rounded to the nearest one.
class SideBox : public QSpinBox {
public:
    SideBox(int value, const QString& name) {
        setObjectName(name);
        setRange(16, kMaxExportSide);
        setSingleStep(16);
        setValue(value);
    }

protected:
    QValidator::State validate(QString& text, int& pos) const override {
        const QValidator::State state = QSpinBox::validate(text, pos);
        if (state != QValidator::Acceptable) return state;
        return valueFromText(text) % 16 == 0 ? state : QValidator::Intermediate;
    }
    void fixup(QString& text) const override {
        const int rounded = std::clamp((valueFromText(text) + 8) / 16 * 16, 16, kMaxExportSide);
        text = textFromValue(rounded);
    }
};

int sixteens(int side) {
    return std::clamp(side / 16 * 16, 16, kMaxExportSide);
}

} // namespace

bool MovieRequest::video() const {
    return output.endsWith(QLatin1String(".mp4"), Qt::CaseInsensitive) ||
           output.endsWith(QLatin1String(".webm"), Qt::CaseInsensitive);
}

std::optional<MovieRequest> MovieDialog::ask(QWidget* parent, QSize pictureSize, bool hasHistory,
                                             const std::function<bool(QDialog&)>& run) {
    MovieRequest offered;
    offered.size = {sixteens(pictureSize.width()), sixteens(pictureSize.height())};
    if (last_) offered = *last_;
    QDialog dialog(parent);
    dialog.setWindowTitle(localizedTitle("ExportMovie"));
    auto* from = new QComboBox;
    from->setObjectName(QStringLiteral("from"));
    from->addItems({localized("Movie_Oldest"), localized("Movie_Start")});
    from->setCurrentIndex(offered.fromOldest && hasHistory ? 0 : 1);
    from->setEnabled(hasHistory);
    auto* frames = new QSpinBox;
    frames->setObjectName(QStringLiteral("frames"));
    frames->setRange(2, 999999);
    frames->setValue(offered.frames);
    auto* width = new SideBox(offered.size.width(), QStringLiteral("width"));
    auto* height = new SideBox(offered.size.height(), QStringLiteral("height"));
    auto* sides = new QHBoxLayout;
    sides->addWidget(width);
    sides->addWidget(new QLabel(QStringLiteral("x")));
    sides->addWidget(height);
    sides->addStretch();
    auto* output = new QLineEdit(offered.output);
    output->setObjectName(QStringLiteral("output"));
    output->setMinimumWidth(320);
    auto* choose = new QPushButton(localized("Movie_Choose"));
    auto* place = new QHBoxLayout;
    place->addWidget(output);
    place->addWidget(choose);
    auto* hint = new QLabel(localized("Movie_Hint"));
    hint->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(localized("Movie_Export"));
    const auto allowed = [=] {
        buttons->button(QDialogButtonBox::Ok)->setEnabled(!output->text().trimmed().isEmpty());
    };
    allowed();
    QObject::connect(output, &QLineEdit::textChanged, &dialog, allowed);
    QObject::connect(choose, &QPushButton::clicked, &dialog, [&dialog, output] {
        const QString chosen = QFileDialog::getSaveFileName(
            &dialog, localizedTitle("ExportMovie"), output->text(), localized("Movie_Filter"),
            nullptr, QFileDialog::DontConfirmOverwrite | QFileDialog::DontUseNativeDialog);
        if (!chosen.isEmpty()) output->setText(chosen);
    });
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* form = new QFormLayout(&dialog);
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow); // the numbers stay narrow
    form->addRow(localized("Movie_From"), from);
    form->addRow(localized("Movie_Frames"), frames);
    form->addRow(localized("Movie_Size"), sides);
    form->addRow(localized("Movie_Output"), place);
    form->addRow(hint);
    form->addRow(buttons);

    const bool accepted = run ? run(dialog) : dialog.exec() == QDialog::Accepted;
    if (!accepted || output->text().trimmed().isEmpty()) return std::nullopt;
    // Without a history the start view is the only choice, not one to remember.
    last_ = MovieRequest{hasHistory ? from->currentIndex() == 0 : offered.fromOldest,
                         frames->value(),
                         {sixteens(width->value()), sixteens(height->value())},
                         output->text().trimmed()};
    return last_;
}

} // namespace velq
