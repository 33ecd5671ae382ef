// The Save command with its options, parameter files and PNG exports.
#include "core/files/export.h"
#include "core/files/filebytes.h"
#include "core/files/paramline.h"
#include "gui/drawingview.h"
#include "gui/localization.h"
#include "pngio/pngfile.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <new>

namespace velq {
namespace {

QString withExtension(QString path, const QString& extension) {
    if (!path.endsWith(QLatin1Char('.') + extension, Qt::CaseInsensitive))
        path += QLatin1Char('.') + extension;
    return path;
}

} // namespace

QString reasonText(const std::error_code& why) {
    if (why == FileError::NotRegular) return localized("Not_Regular_File");
    if (why == FileError::TooLarge) return localized("Too_Large");
    return QString::fromLocal8Bit(why.message().c_str());
}

bool DrawingView::runPanel(QFileDialog& panel) {
    if (seams_.runFileDialog) return seams_.runFileDialog(panel);
    return panel.exec() == QDialog::Accepted;
}

void DrawingView::saveAs() {
    if (!settleGesture()) return; // a file never carries a preview under the view's chunk
    QFileDialog panel(window(), localizedTitle("Save"));
    panel.setAcceptMode(QFileDialog::AcceptSave);
    // The options sit inside the panel; the question about an existing file is asked about
    // the name that is written, extension included.
    panel.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
    if (!recent_.lastFolder().isEmpty()) panel.setDirectory(recent_.lastFolder());
    savePanel_.attach(panel);
    const bool chosen = runPanel(panel) && !panel.selectedFiles().isEmpty();
    savePanel_.detach(this); // the options keep their values for the next Save
    if (!chosen || !representable(panel.selectedFiles().constFirst())) return;
    recent_.setLastFolder(QFileInfo(panel.selectedFiles().constFirst()).absolutePath());
    const int tag = savePanel_.fileType();
    const bool parameters = tag == SavePanel::kParameterFile;
    const QString path = withExtension(panel.selectedFiles().constFirst(),
                                       parameters ? QStringLiteral("mdl") : QStringLiteral("png"));
    if (QFileInfo::exists(path) &&
        !ask(localizedTitle("Save"),
             localized(parameters ? "Append_File" : "Replace_File").arg(QFileInfo(path).fileName()),
             localized(parameters ? "Add" : "Replace")))
        return;
    const bool written = parameters ? saveAsMDL(Mandat0_, path) : saveAsPNG(Mandat0_, path, tag);
    if (written) recent_.add(QUrl::fromLocalFile(path));
}

void DrawingView::savefiletype() {
    savePanel_.savefiletype();
}

bool DrawingView::saved(const QString& path, const std::error_code& why) {
    if (why) alert(localized("Cant_Save"), localized("Not_Saved").arg(path, reasonText(why)));
    return !why;
}

bool DrawingView::saveAsMDL(const MANDAT& v, const QString& fname) {
    // Saving under an existing name adds a line.
    return saved(fname,
                 appendParameterLine(QFile::encodeName(fname).toStdString(), v, picture_.aspect()));
}

bool DrawingView::saveAsPNG_(const MANDAT& v, const QString& path, const QImage& imagerep) {
    const std::span<const Rgba> pixels(reinterpret_cast<const Rgba*>(imagerep.constBits()),
                                       static_cast<std::size_t>(imagerep.width()) *
                                           static_cast<std::size_t>(imagerep.height()));
    const std::vector<std::uint8_t> png =
        encodePngWithChunk(pixels, imagerep.width(), imagerep.height(), v, picture_.aspect());
    if (png.empty()) return saved(path, std::make_error_code(std::errc::not_enough_memory));
    return saved(path, seams_.writeFile(QFile::encodeName(path).toStdString(), png));
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
        // The core's reason, in English, is the key of its translation.
        alert(localized("Cant_Export"), localized(why.c_str()));
        return false;
    }
    const auto noMemory = [&] {
        alert(localized("Cant_Export"),
              localized("Export_No_Memory").arg(plan->renderW).arg(plan->renderH));
        return false;
    };
    // The window's buffers are kept aside while the export renders into its own.
    Picture kept = std::move(picture_);
    picture_ = Picture{};
    shownImage_ = &kept.imageRep();
    const auto restore = [&] {
        shownImage_ = nullptr;
        picture_ = std::move(kept);
        driver_.setStatusCancel(0);
        driver_.showBusy(false);
        repaint();
    };
    if (!picture_.allocate(plan->renderW, plan->renderH)) {
        restore();
        return noMemory();
    }
    driver_.setStatusCancel(1); // Abort stops an export outright: nothing is written
    if (runMandel(Mandat0_, 0) <= 0) {
        restore();
        return false;
    }
    driver_.showBusy(true);
    try {
        const std::vector<Rgba> out = cutAndReduce(picture_.pixelArr(), *plan);
        const QImage reduced(reinterpret_cast<const uchar*>(out.data()), plan->outW, plan->outH,
                             plan->outW * 4, QImage::Format_RGBA8888);
        const bool written = saveAsPNG_(Mandat0_, path, reduced);
        restore();
        return written;
    } catch (const std::bad_alloc&) {
        restore();
        return noMemory();
    }
}

} // namespace velq
