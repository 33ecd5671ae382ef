// DrawingView: the picture on screen and the controller of every command. It composes the
// subsystems that own the program's state and keeps the command methods as entry points.
#pragma once

#include "core/view/mandat.h"
#include "gui/colourcontrols.h"
#include "gui/commandmenus.h"
#include "gui/coordinatefields.h"
#include "gui/dragout.h"
#include "gui/handnavigation.h"
#include "gui/moviedialog.h"
#include "gui/picture.h"
#include "gui/recentfiles.h"
#include "gui/renderdriver.h"
#include "gui/savepanel.h"
#include "gui/seams.h"
#include "gui/viewhistory.h"
#include "gui/windowsizing.h"
#include "gui/zoomselection.h"

#include <QWidget>

class QAbstractButton;
class QFileDialog;
class QMimeData;
class QUrl;
class QAction;
class Ui_MainWindow;

namespace velq {

class MoviePlan;

// The bytes of a local file URL's path, percent escapes decoded: names that are not UTF-8 stay
// as they are.
std::string localPathBytes(const QUrl& u);
// The reason a file could not be written or read, in the user's language.
QString reasonText(const std::error_code& why);

class DrawingView : public QWidget {
    Q_OBJECT

public:
    explicit DrawingView(QWidget* parent = nullptr);
    ~DrawingView() override;

    // Start-of-life state; the seams' toolkit version decides the host version class.
    void initWithFrame(Seams seams);
    // Connects the outlets and runs the start-up sequence up to the first picture.
    // False when the host is refused: the caller ends the application.
    bool awakeFromNib(Ui_MainWindow& ui);

    // --- rendering
    int runMandel(MANDAT v, int backup);
    int mandel_calc();
    void pushButton();

    // --- benchmark
    void benchmark(int tag);
    int benchmark_sub(MANDAT v, int num, float mag, int bench);

    // --- colours
    int make_cmap(int requested);
    int append_cmap(int requested);
    void pushButtonC(QAbstractButton* sender);
    void sliderMove();
    void drawcbar();

    // --- menus, history, limits
    void menuMandel(QAction* sender);
    bool validateMenuItem(const QAction* item) const;
    // Applies the validation to every action that goes to the view.
    void updateActions();
    int setIterations(int requested);
    void menuHist(QAction* sender);
    // Deep Zoom on or off; with no sender, on.
    void menuDeepZoom(QAction* sender);
    void showHelp();
    void localization();
    void setTextField();

    // --- files and exchange
    void saveAs();
    void savefiletype();
    bool saveAsMDL(const MANDAT& v, const QString& fname);
    bool saveAsPNG(const MANDAT& v, const QString& path, int ftype);
    bool saveAsPNG_(const MANDAT& v, const QString& path, const QImage& imagerep);
    // A movie from the oldest view in the history, or the start view, to the current one.
    void exportMovie();
    void openDocument();
    void openfile(const QUrl& u);
    // Opens a file the user named directly (on the command line, in Open Recent): a file that
    // cannot be read gets the alert too.
    void openNamed(const QUrl& u);
    void copy();
    // Opens what a drop brings; false when it brought nothing that can be opened.
    bool performDragOperation(const QMimeData* data);
    // Writes the dragged-out picture into the folder under a fresh number; its path.
    QString namesOfPromisedFilesDroppedAtDestination(const QString& folder);
    // What a drag out carries: the picture, and a PNG file written when a target asks for it.
    QMimeData* dragData();
    QImage dragPicture() const;

    // --- sizing
    // origin: the window's top-left position; size: the new picture size in points.
    void resizeMandel(QPoint origin, QSize picture, int draw);
    // The same with the picture's size in device pixels.
    void resizePicture(QPoint origin, QSize device, int draw);
    // Full screen on or off; returns the state it is in.
    bool fullScreen(bool on);
    // proposed: the frame offered for the window (its client area), in screen coordinates.
    bool windowShouldZoom(const QRect& proposed);
    void viewDidEndLiveResize();
    bool inLiveResize() const;
    // The window has been shown: its size hints go to the window manager again.
    void windowDidShow();
    // Asked to close while a render runs: stop it at the next claim.
    void stopRenderForClose();

    // Read-only views of the state, for tests and the window shell.
    double osversion() const { return osversion_; }
    const MANDAT& Mandat0() const { return Mandat0_; }
    const Picture& picture() const { return picture_; }
    const RenderDriver& driver() const { return driver_; }
    const ColourControls& colours() const { return colours_; }
    const ViewHistory& history() const { return history_; }
    const CommandMenus& menus() const { return menus_; }
    const ZoomSelection& selection() const { return selection_; }
    const DragOut& dragOut() const { return dragOut_; }
    const SavePanel& savePanel() const { return savePanel_; }
    const RecentFiles& recent() const { return recent_; }
    const HandNavigation& hand() const { return hand_; }
    bool deepZoom() const { return deepZoom_; }
    // The gesture's renders have ended with the exact picture of the current view.
    bool settled() const { return !gestureDirty_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void connectControls();
    void connectMenus(Ui_MainWindow& ui);
    void addGalleryItems(Ui_MainWindow& ui);
    void addCommand(QAction* action);
    // A view point (device pixels, origin bottom left, y up) of a widget position.
    PointF viewPoint(const QPointF& position) const;
    // Where the picture's top-left corner sits in the view: centred in full screen.
    QPoint pictureOffset() const;
    int pixelRatio() const;
    void mouseDown(QMouseEvent* event);
    void mouseDragged(QMouseEvent* event);
    void mouseUp(QMouseEvent* event);
    void keyDown(QKeyEvent* event);
    // A step of the hand to `target`: the history step at a gesture's start, the preview at
    // once, the renders behind it.
    void gestureStep(MANDAT target);
    // A key of the hand: the arrows pan, + and - zoom about the centre; false for other keys.
    bool handKey(QKeyEvent* event);
    // How far the hand may take the width in the current mode.
    WidthBounds widthBounds() const;
    // The picture's device pixel under a widget position, from the picture's top left.
    QPointF devicePoint(const QPointF& position) const;
    // Called by the hand's timer: shows a gesture render that has finished.
    void collectGesture();
    // Called when a gesture ends with the hand let go.
    void restGesture();
    // Before a command that renders: the gesture's render in flight is stopped and joined.
    void stopGesture();
    // Before a command that uses the picture as it is: also the exact picture of the view,
    // rendered now if the gesture left none. False when that render was aborted.
    bool settleGesture();
    // The view as the Deep Zoom mode renders it: deep or not, its limit one of the menus'.
    MANDAT depthOf(MANDAT v);
    // The history step of a render that shows a new view.
    void recordHistory(int backup);
    bool runPanel(QFileDialog& panel);
    // Renders the current view off screen into buffers of its own and writes the export.
    bool exportFresh(const QString& path, int ftype);
    // Renders the movie's frames through the driver into its folder or video; false after an
    // alert. Abort keeps the frames finished so far.
    bool renderMovie(const MoviePlan& plan, const MovieRequest& request);
    // The bytes behind a URL, or why there are none.
    struct Loaded {
        QByteArray data{};
        bool failed = false;    // the file or URL could not be read
        bool cancelled = false; // the user gave the reading up
    };
    Loaded loadUrl(const QUrl& u);
    void openUrl(const QUrl& u, bool named);
    void cantOpen(const QUrl& u);
    // False, with an alert, for a name from a file panel that lost bytes that are not UTF-8.
    bool representable(const QString& name);
    bool acceptsDrop(const QDropEvent* event) const;
    // Starts the drag of the picture out of the window (full or half size by mouse_on).
    void dragImage();
    void alert(const QString& title, const QString& message);
    bool ask(const QString& title, const QString& message, const QString& confirm);
    // True for a file written; otherwise an alert names it and the reason.
    bool saved(const QString& path, const std::error_code& why);
    void drawLiveResize(class QPainter& painter, const QImage& picture);
    void drawSelection(class QPainter& painter, const QImage& picture);

    Seams seams_;
    Ui_MainWindow* ui_ = nullptr; // the interface description, for the localization pass
    double osversion_ = 0;
    MANDAT Mandat0_{};
    Picture picture_;
    RenderDriver driver_;
    ColourControls colours_;
    CoordinateFields fields_;
    ViewHistory history_;
    CommandMenus menus_;
    ZoomSelection selection_;
    SavePanel savePanel_;
    MovieDialog movieDialog_;
    DragOut dragOut_;
    RecentFiles recent_;
    HandNavigation hand_;
    MANDAT shownView_{};        // the view whose counts the picture holds
    bool gestureDirty_ = false; // the hand moved the view since the last exact picture
    bool deepZoom_ = false;     // views below double precision, off at start
    WindowSizing sizing_;
    const QImage* shownImage_ = nullptr; // what the window shows while an export renders
};

} // namespace velq
