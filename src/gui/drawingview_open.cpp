// Opening files and URLs, from the Open command or dropped on the picture.
#include "core/deep/deeparith.h"
#include "core/files/filebytes.h"
#include "core/files/openpath.h"
#include "gui/drawingview.h"
#include "gui/localization.h"
#include "gui/rendereventfilter.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

namespace velq {
namespace {

// Bounds for reading a URL: what a parameter file or a picture of ours can need. (The time
// bound for a remote file is a seam, so that tests can shorten it.)
constexpr qint64 kMaxRemoteBytes = 32LL * 1024 * 1024;

// The busy cursor for as long as it lives.
struct BusyCursor {
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::BusyCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace

std::string localPathBytes(const QUrl& u) {
    // The name's bytes as the URL carries them: a name that is not UTF-8 stays what it is.
    return QByteArray::fromPercentEncoding(u.path(QUrl::FullyEncoded).toLatin1()).toStdString();
}

DrawingView::Loaded DrawingView::loadUrl(const QUrl& u) {
    if (u.isLocalFile()) {
        // Regular files only: a FIFO would block the window until some writer came, a device
        // might never end. A read error gives no data at all.
        std::vector<char> data;
        if (readWholeFile(localPathBytes(u), FileKinds::RegularOnly, data)) return {.failed = true};
        return {.data = QByteArray(data.data(), static_cast<qsizetype>(data.size()))};
    }
    const QString scheme = u.scheme().toLower();
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
        return {.failed = true};
    // A remote file is read with a bound on its size and time. The window stays alive, shows
    // the progress, and Abort or Escape give the reading up; other input is swallowed.
    QNetworkAccessManager network;
    QNetworkRequest request(u);
    request.setTransferTimeout(static_cast<int>(seams_.remoteTimeout.count()));
    QNetworkReply* reply = network.get(request);
    QByteArray data;
    bool tooLarge = false;
    bool cancelled = false;
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
    connect(reply, &QNetworkReply::downloadProgress, &loop,
            [this](qint64 got, qint64 total) { driver_.showReading(got, total); });
    connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    const auto cancel = [&] {
        cancelled = true;
        reply->abort();
    };
    const QMetaObject::Connection abort =
        connect(driver_.outlets().PushButton, &QPushButton::clicked, &loop, cancel);
    deadline.start(seams_.remoteTimeout);
    driver_.begin(0);
    updateActions();
    {
        const BusyCursor busy;
        const RenderEventFilter filter(driver_.outlets().PushButton, cancel);
        if (!reply->isFinished()) loop.exec(); // a refused URL may have finished at once
    }
    disconnect(abort);
    driver_.end();
    updateActions();
    data += reply->readAll();
    const bool ok = reply->error() == QNetworkReply::NoError && !tooLarge;
    reply->deleteLater();
    if (cancelled) return {.cancelled = true};
    return ok ? Loaded{.data = data} : Loaded{.failed = true};
}

void DrawingView::cantOpen(const QUrl& u) {
    // The URL text is shown as it is: percent escapes and percent signs are plain text.
    alert(localized("Cant_Open"), u.toString(QUrl::FullyEncoded));
}

void DrawingView::openDocument() {
    QFileDialog panel(window(), localizedTitle("Open"));
    panel.setAcceptMode(QFileDialog::AcceptOpen);
    panel.setFileMode(QFileDialog::ExistingFile);
    panel.setNameFilter(QStringLiteral("*.mdl *.png *.MDL *.PNG"));
    if (!recent_.lastFolder().isEmpty()) panel.setDirectory(recent_.lastFolder());
    if (!runPanel(panel) || panel.selectedFiles().isEmpty()) return;
    const QString chosen = panel.selectedFiles().constFirst();
    recent_.setLastFolder(QFileInfo(chosen).absolutePath());
    if (representable(chosen)) openfile(QUrl::fromLocalFile(chosen));
}

bool DrawingView::representable(const QString& name) {
    // Bytes that are not UTF-8 come out of the panel as U+FFFD and name another file.
    if (!name.contains(QChar::ReplacementCharacter)) return true;
    alert(localized("Cant_Open"), localized("Name_Not_UTF8").arg(name));
    return false;
}

void DrawingView::openfile(const QUrl& u) {
    openUrl(u, false);
}

void DrawingView::openNamed(const QUrl& u) {
    openUrl(u, true);
}

void DrawingView::openUrl(const QUrl& u, bool named) {
    stopGesture();
    const Loaded loaded = loadUrl(u);
    if (loaded.cancelled) return;
    const std::span<const char> bytes(loaded.data.constData(),
                                      static_cast<std::size_t>(loaded.data.size()));
    const FileKind kind = fileKindOf(u.path().toStdString());
    const auto start = parameterTextStart(bytes, kind);
    // A parameter file that cannot be read is passed over, unless the user named it.
    if (!start || (named && loaded.failed)) {
        cantOpen(u);
        return;
    }
    if (u.isLocalFile() && !loaded.failed) recent_.add(u);
    // Every view of the file in turn, each rendered to its end; an Abort ends the reading.
    ParameterReader reader(bytes, *start);
    while (const auto line = reader.next()) {
        MANDAT v = viewOf(*line, true);
        // A deep view turns Deep Zoom on.
        if (v.deep && !deepZoom_) menuDeepZoom(nullptr);
        v = withLimit(v, setIterations(v.deep ? v.deep->it : line->it));
        const int result = runMandel(v, 2);
        repaint();
        if (result == -1) break;
    }
}

bool DrawingView::acceptsDrop(const QDropEvent* event) const {
    // A drag that started here (the picture dragged out and let go on itself) is no drop.
    return driver_.idle() && !event->source();
}

void DrawingView::dragEnterEvent(QDragEnterEvent* event) {
    // Every drag from elsewhere is shown as accepted; its content is looked at on the drop.
    if (acceptsDrop(event)) event->acceptProposedAction();
}

void DrawingView::dragMoveEvent(QDragMoveEvent* event) {
    if (acceptsDrop(event))
        event->acceptProposedAction();
    else
        event->ignore();
}

void DrawingView::dropEvent(QDropEvent* event) {
    if (acceptsDrop(event) && performDragOperation(event->mimeData()))
        event->acceptProposedAction();
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
