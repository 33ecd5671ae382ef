// Opening files and URLs, from the Open command or dropped on the picture.
#include "core/files/filebytes.h"
#include "core/files/openpath.h"
#include "gui/drawingview.h"
#include "gui/localization.h"
#include "gui/rendereventfilter.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QMimeData>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>
#include <QUrl>

namespace velq {
namespace {

// Bounds for reading a URL: what a parameter file or a picture of ours can need. (The time
// bound for a remote file is a seam, so that tests can shorten it.)
constexpr qint64 kMaxRemoteBytes = 32LL * 1024 * 1024;

// Regular files only: a FIFO would block the window until some writer came, a device might
// never end. A read error gives no data at all.
QByteArray readLocal(const QString& path) {
    std::vector<char> data;
    if (readWholeFile(QFile::encodeName(path).toStdString(), FileKinds::RegularOnly, data))
        return {};
    return QByteArray(data.data(), static_cast<qsizetype>(data.size()));
}

} // namespace

QByteArray DrawingView::loadUrl(const QUrl& u) {
    if (u.isLocalFile()) return readLocal(u.toLocalFile());
    const QString scheme = u.scheme().toLower();
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https")) return {};
    // A remote file is read with a bound on its size and time; the window stays alive
    // meanwhile, and user input is swallowed as during a render.
    QNetworkAccessManager network;
    QNetworkRequest request(u);
    request.setTransferTimeout(static_cast<int>(seams_.remoteTimeout.count()));
    QNetworkReply* reply = network.get(request);
    QByteArray data;
    bool tooLarge = false;
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    connect(&deadline, &QTimer::timeout, reply, &QNetworkReply::abort);
    connect(reply, &QNetworkReply::readyRead, &loop, [&] {
        data += reply->readAll();
        if (data.size() > kMaxRemoteBytes) {
            tooLarge = true;
            reply->abort();
        }
    });
    connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    deadline.start(seams_.remoteTimeout);
    {
        const RenderEventFilter filter(nullptr);
        if (!reply->isFinished()) loop.exec(); // a refused URL may have finished at once
    }
    data += reply->readAll();
    const bool ok = reply->error() == QNetworkReply::NoError && !tooLarge;
    reply->deleteLater();
    return ok ? data : QByteArray();
}

void DrawingView::cantOpen(const QUrl& u) {
    // The URL text is shown as it is: percent escapes and percent signs are plain text.
    alert(localized("Cant_Open"), u.toString(QUrl::FullyEncoded));
}

void DrawingView::openDocument() {
    QFileDialog panel(window(), localized("Open"));
    panel.setAcceptMode(QFileDialog::AcceptOpen);
    panel.setFileMode(QFileDialog::ExistingFile);
    panel.setNameFilter(QStringLiteral("*.mdl *.png *.MDL *.PNG"));
    if (runPanel(panel) && !panel.selectedUrls().isEmpty())
        openfile(panel.selectedUrls().constFirst());
}

void DrawingView::openfile(const QUrl& u) {
    const QByteArray data = loadUrl(u);
    const std::span<const char> bytes(data.constData(), static_cast<std::size_t>(data.size()));
    const FileKind kind = fileKindOf(u.path().toStdString());
    const auto start = parameterTextStart(bytes, kind);
    if (!start) {
        cantOpen(u);
        return;
    }
    // Every view of the file in turn, each rendered to its end; an Abort ends the reading.
    ParameterReader reader(bytes, *start);
    while (const auto line = reader.next()) {
        MANDAT v = viewOf(*line);
        v.it = setIterations(line->it);
        const int result = runMandel(v, 2);
        repaint();
        if (result == -1) break;
    }
}

void DrawingView::dragEnterEvent(QDragEnterEvent* event) {
    // Every drag over the picture is shown as accepted; its content is looked at on the drop.
    if (driver_.idle()) event->acceptProposedAction();
}

void DrawingView::dragMoveEvent(QDragMoveEvent* event) {
    if (driver_.idle()) event->acceptProposedAction();
}

void DrawingView::dropEvent(QDropEvent* event) {
    if (!driver_.idle()) return;
    if (performDragOperation(event->mimeData())) event->acceptProposedAction();
}

bool DrawingView::performDragOperation(const QMimeData* data) {
    if (!data->hasUrls()) return false;
    // A URL from elsewhere wins over a list of files; of several files the last one counts.
    const QList<QUrl> urls = data->urls();
    QUrl u;
    for (const QUrl& candidate : urls) {
        if (!candidate.isLocalFile()) {
            u = candidate;
            break;
        }
    }
    if (u.isEmpty()) u = urls.constLast();
    if (u.isEmpty()) return false;
    if (!hasAcceptedExtension(u.path().toStdString())) {
        cantOpen(u);
        return false;
    }
    openfile(u);
    return true;
}

} // namespace velq
