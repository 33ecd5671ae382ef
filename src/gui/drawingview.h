// DrawingView: the picture on screen and the controller that holds the program's state.
#pragma once

#include "core/colour/colormap.h"
#include "core/render/fastkernel.h"
#include "core/render/kernel.h"
#include "core/render/renderworkers.h"
#include "core/sizing/sizing.h"
#include "core/view/history.h"
#include "core/view/mandat.h"

#include <QImage>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

class QAbstractButton;
class QButtonGroup;
class QFileDialog;
class QMimeData;
class QUrl;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QProgressBar;
class QPushButton;
class QSlider;
class Ui_MainWindow;
class Ui_SaveOptions;

namespace velq {

class ColourBarView;

// A rectangle in view coordinates (origin bottom left, y up), as 32-bit floats.
struct RectF {
    float x = 0, y = 0, width = 0, height = 0;
};
struct PointF {
    float x = 0, y = 0;
};

class DrawingView : public QWidget {
    Q_OBJECT

public:
    explicit DrawingView(QWidget* parent = nullptr);
    ~DrawingView() override;

    // Start-of-life state; the toolkit version decides the host version class.
    void initWithFrame(double toolkitVersion);
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
    void showHelp();
    void localization();
    void setTextField();

    // --- files and exchange
    void saveAs();
    void savefiletype();
    void saveAsMDL(const MANDAT& v, const QString& fname);
    bool saveAsPNG(const MANDAT& v, const QString& path, int ftype);
    bool saveAsPNG_(const MANDAT& v, const QString& path, const QImage& imagerep);
    void openDocument();
    void openfile(const QUrl& u);
    void copy();
    // Opens what a drop brings; false when it brought nothing that can be opened.
    bool performDragOperation(const QMimeData* data);
    // Writes the dragged-out picture into the folder under a fresh number; its path.
    QString namesOfPromisedFilesDroppedAtDestination(const QString& folder);
    // What a drag out carries: the picture, and a PNG file written when a target asks for it.
    QMimeData* dragData();
    QImage dragPicture() const;

    // --- sizing
    // origin: the window's top-left position; size: the new picture size.
    void resizeMandel(QPoint origin, QSize picture, int draw);
    // proposed: the frame offered for the window (its client area), in screen coordinates.
    bool windowShouldZoom(const QRect& proposed);
    void viewDidEndLiveResize();
    bool inLiveResize() const;

    // Seams for tests and the window shell.
    using AlertHandler = std::function<void(const QString& title, const QString& message)>;
    void setAlertHandler(AlertHandler handler) { alertHandler_ = std::move(handler); }
    void setKernel(RowKernel kernel) { kernel_ = kernel; }
    // Runs a file panel; true when the user confirmed. Tests answer in place of the user.
    using FileDialogRunner = std::function<bool(QFileDialog& panel)>;
    void setFileDialogRunner(FileDialogRunner runner) { fileDialogRunner_ = std::move(runner); }
    // How long reading a remote file may take before it is given up.
    void setRemoteTimeout(std::chrono::milliseconds bound) { remoteTimeout_ = bound; }
    // The private folder that dragged-out pictures are written to.
    QString dragFolder() const { return dragFolder_.path(); }
    // Asked to close while a render runs: stop it at the next claim.
    void stopRenderForClose();

    // State under the program's own names; read by tests and the window shell.
    double osversion = 0;
    PointF p1, p2;
    RectF r1, r2;
    int mouse_on = 0;
    std::atomic<int> status{RenderStatus::Idle};
    int status_cancel = 0;
    HistoryRing history; // Mandath, hp and backup0
    int history_mode = 0;
    int filenum = 0;
    MANDAT Mandat0{};
    int it_lim = 0;
    int winx = 0;
    int winy = 0;
    std::vector<std::int16_t> mandel; // winx * winy counts, row-major from the top
    QImage imageRep;                  // winx x winy RGBA8888, 4 * winx bytes per row
    QImage cbarRep;                   // 2010 x 1: its pixels are the colour map

    std::span<Rgba> pixelArr();
    std::span<Rgba, kCmapEntries> cmap();

    // Outlets.
    QPushButton* PushButton = nullptr;
    QProgressBar* progressIndicator = nullptr;
    QProgressBar* progressBar = nullptr;
    QLineEdit* TextField_x = nullptr;
    QLineEdit* TextField_y = nullptr;
    QLineEdit* TextField_w = nullptr;
    QPushButton* PushButtonCa = nullptr;
    QPushButton* PushButtonCb = nullptr;
    QPushButton* PushButtonCR = nullptr;
    QPushButton* PushButtonCG = nullptr;
    QPushButton* PushButtonCB = nullptr;
    QSlider* Slider = nullptr;
    QLabel* SliderNum = nullptr;
    ColourBarView* SliderImage = nullptr;
    QWidget* ColorBar = nullptr;
    QWidget* savepanelview = nullptr;
    QButtonGroup* savepaneltype = nullptr; // button ids are the file-type tags
    QLabel* savepaneltext = nullptr;
    QAbstractButton* savepanelCurrent = nullptr;
    QAbstractButton* savepanelMDL = nullptr;
    QAbstractButton* savepanelAnti = nullptr;
    QLineEdit* savepanelSx = nullptr;
    QLineEdit* savepanelSy = nullptr;
    QPointer<QFileDialog> sp; // the panel of the current Save command
    QMenu* menu_ = nullptr;
    QAction* menuHistmode = nullptr;
    QAction* menuHistmode_ = nullptr;
    QMenu* menuIterations = nullptr;
    QMenu* menuIterations_ = nullptr;
    QAction* menuZoomIn = nullptr;
    QAction* menuZoomIn_ = nullptr;
    QAction* menuZoomOut = nullptr;
    QAction* menuZoomOut_ = nullptr;
    QMenuBar* mainMenu = nullptr;
    std::vector<QAction*> viewActions; // every action whose command goes to the view

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Coordinates fields show values with 17 significant digits, which give back the double.
    static void setDoubleValue(QLineEdit* field, double value);
    double doubleValue(QLineEdit* field, double fallback) const;

    void connectControls();
    void connectMenus(Ui_MainWindow& ui);
    void addGalleryItems(Ui_MainWindow& ui);
    void addViewAction(QAction* action, bool command);
    void retitleZoom(QAction* main, QAction* contextual, const char* key, int factor, int tag);
    // A view point (origin bottom left, y up) of a widget position.
    PointF viewPoint(const QPointF& position) const;
    void mouseDown(QMouseEvent* event);
    void mouseDragged(QMouseEvent* event);
    void mouseUp(QMouseEvent* event);
    void keyDown(QKeyEvent* event);
    void setUpSaveOptions();
    bool runPanel(QFileDialog& panel);
    // Renders the current view off screen into borrowed buffers and writes the export.
    bool exportFresh(const QString& path, int ftype);
    QByteArray loadUrl(const QUrl& u);
    void cantOpen(const QUrl& u);
    // Starts the drag of the picture out of the window (full or half size by mouse_on).
    void dragImage();

    void recordHistory(int backup);
    void alert(const QString& title, const QString& message);
    void showColourWord(int cs);
    void setRenderControls(bool rendering);
    void updateProgress(const RenderWorkers& workers);
    bool allocateBuffers(int width, int height);
    Margins windowMargins() const;
    void fitWindowToPicture(QPoint origin);
    void drawLiveResize(class QPainter& painter, const QImage& picture);
    void drawSelection(class QPainter& painter, const QImage& picture);

    AlertHandler alertHandler_;
    FileDialogRunner fileDialogRunner_;
    std::unique_ptr<Ui_SaveOptions> saveOptions_;
    QTemporaryDir dragFolder_;
    const QImage* shownImage_ = nullptr; // what the window shows while an export renders
    RowKernel kernel_ = fastRows;        // counts identical to the plain loop, many times faster
    std::chrono::milliseconds remoteTimeout_{15000};
    RenderWorkers workers_{status};
    QTimer liveResizeTimer_;
};

} // namespace velq
