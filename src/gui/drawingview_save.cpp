// The Save command with its options, parameter files and PNG exports.
#include "core/files/export.h"
#include "core/files/paramline.h"
#include "gui/drawingview.h"
#include "gui/localization.h"
#include "pngio/pngfile.h"

#include <QFile>
#include <QFileDialog>

namespace velq {
namespace {

QString withExtension(QString path, const QString& extension) {
    if (!path.endsWith(QLatin1Char('.') + extension, Qt::CaseInsensitive))
        path += QLatin1Char('.') + extension;
    return path;
}

} // namespace

bool DrawingView::runPanel(QFileDialog& panel) {
    if (seams_.runFileDialog) return seams_.runFileDialog(panel);
    return panel.exec() == QDialog::Accepted;
}

void DrawingView::saveAs() {
    QFileDialog panel(window(), localized("Save"));
    panel.setAcceptMode(QFileDialog::AcceptSave);
    panel.setOption(QFileDialog::DontUseNativeDialog); // the options sit inside the panel
    savePanel_.attach(panel);
    if (runPanel(panel) && !panel.selectedFiles().isEmpty()) {
        const int tag = savePanel_.fileType();
        const QString chosen = panel.selectedFiles().constFirst();
        if (tag == SavePanel::kParameterFile)
            saveAsMDL(Mandat0_, withExtension(chosen, QStringLiteral("mdl")));
        else
            saveAsPNG(Mandat0_, withExtension(chosen, QStringLiteral("png")), tag);
    }
    // The options outlive the panel: they keep their values for the next Save.
    savePanel_.detach(this);
}

void DrawingView::savefiletype() {
    savePanel_.savefiletype();
}

void DrawingView::saveAsMDL(const MANDAT& v, const QString& fname) {
    // Saving under an existing name adds a line; a file that cannot be opened is skipped.
    appendParameterLine(QFile::encodeName(fname).toStdString(), v, picture_.aspect());
}

bool DrawingView::saveAsPNG_(const MANDAT& v, const QString& path, const QImage& imagerep) {
    const std::span<const Rgba> pixels(reinterpret_cast<const Rgba*>(imagerep.constBits()),
                                       static_cast<std::size_t>(imagerep.width()) *
                                           static_cast<std::size_t>(imagerep.height()));
    const std::vector<std::uint8_t> png =
        encodePngWithChunk(pixels, imagerep.width(), imagerep.height(), v, picture_.aspect());
    return !png.empty() && !seams_.writeFile(QFile::encodeName(path).toStdString(), png);
}

bool DrawingView::saveAsPNG(const MANDAT&, const QString& path, int ftype) {
    if (ftype == ExportKind::Screen) return saveAsPNG_(Mandat0_, path, picture_.imageRep());
    return exportFresh(path, ftype);
}

bool DrawingView::exportFresh(const QString& path, int ftype) {
    std::string why;
    const auto plan = planExport(ftype, savePanel_.typedWidth(), savePanel_.typedHeight(),
                                 savePanel_.antialias(), &why);
    if (!plan) {
        alert(localized("Cant_Export"), QString::fromStdString(why));
        return false;
    }
    // The window's buffers are kept aside while the export renders into its own.
    Picture kept = std::move(picture_);
    picture_ = Picture{};
    shownImage_ = &kept.imageRep();
    const auto restore = [&] {
        shownImage_ = nullptr;
        picture_ = std::move(kept);
        driver_.setStatusCancel(0);
    };
    if (!picture_.allocate(plan->renderW, plan->renderH)) {
        restore();
        alert(localized("Cant_Export"),
              QStringLiteral("There is not enough memory for a picture of %1 x %2 pixels.")
                  .arg(plan->renderW)
                  .arg(plan->renderH));
        return false;
    }
    driver_.setStatusCancel(1); // Abort stops an export outright: nothing is written
    const int result = runMandel(Mandat0_, 0);
    bool written = false;
    if (result > 0) {
        driver_.showBusy(true);
        const std::vector<Rgba> out = cutAndReduce(picture_.pixelArr(), *plan);
        const QImage reduced(reinterpret_cast<const uchar*>(out.data()), plan->outW, plan->outH,
                             plan->outW * 4, QImage::Format_RGBA8888);
        written = saveAsPNG_(Mandat0_, path, reduced);
        driver_.showBusy(false);
        drawcbar();
    }
    restore();
    repaint();
    return written;
}

} // namespace velq
