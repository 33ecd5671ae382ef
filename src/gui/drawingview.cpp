// DrawingView construction and the start-up sequence up to the first picture.
#include "gui/drawingview.h"

#include "core/host/hostversion.h"
#include "gui/colourbarview.h"
#include "gui/localization.h"
#include "ui_mainwindow.h"
#include "ui_saveoptions.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMainWindow>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSlider>

namespace velq {

DrawingView::DrawingView(QWidget* parent) : QWidget(parent) {
    liveResizeTimer_.setSingleShot(true);
    liveResizeTimer_.setInterval(150);
    connect(&liveResizeTimer_, &QTimer::timeout, this, &DrawingView::viewDidEndLiveResize);
}

DrawingView::~DrawingView() = default;

void DrawingView::initWithFrame(double toolkitVersion) {
    osversion = osversionFor(toolkitVersion);
    p1 = p2 = {};
    r1 = r2 = {};
    mouse_on = 0;
    status = RenderStatus::Idle;
    status_cancel = 0;
    history_mode = 0;
    filenum = 0;
    // Outside the picture (a window manager that ignores the size steps) stays black.
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAcceptDrops(true);
}

bool DrawingView::awakeFromNib(Ui_MainWindow& ui) {
    PushButton = ui.PushButton;
    progressIndicator = ui.progressIndicator;
    progressBar = ui.progressBar;
    TextField_x = ui.TextField_x;
    TextField_y = ui.TextField_y;
    TextField_w = ui.TextField_w;
    PushButtonCa = ui.PushButtonCa;
    PushButtonCb = ui.PushButtonCb;
    PushButtonCR = ui.PushButtonCR;
    PushButtonCG = ui.PushButtonCG;
    PushButtonCB = ui.PushButtonCB;
    Slider = ui.Slider;
    SliderNum = ui.SliderNum;
    SliderImage = ui.SliderImage;
    ColorBar = ui.ColorBar;

    if (osversion >= 10.3) {
        for (QLineEdit* field : {TextField_x, TextField_y, TextField_w})
            field->setAttribute(Qt::WA_MacShowFocusRect, false);
        for (QPushButton* toggle : {PushButtonCR, PushButtonCG, PushButtonCB})
            toggle->setFixedSize(15, 20);
    } else if (osversion >= 10.2) {
        PushButtonCR->setFixedSize(16, 16);
        PushButtonCG->setFixedSize(17, 16);
        PushButtonCB->setFixedSize(16, 16);
    } else {
        alert(QStringLiteral("Velquorantisphaeron"),
              localized("Alert_os_version").arg(osversion, 0, 'g', 3));
        return false;
    }
    // The progress row keeps its height while the indicators are hidden.
    for (QWidget* indicator :
         {static_cast<QWidget*>(progressIndicator), static_cast<QWidget*>(progressBar)}) {
        QSizePolicy policy = indicator->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        indicator->setSizePolicy(policy);
        indicator->hide();
    }
    connectControls();
    connectMenus(ui);
    setUpSaveOptions();
    localization();

    setDoubleValue(TextField_x, 0.0);
    setDoubleValue(TextField_y, 0.0);
    setDoubleValue(TextField_w, 2.0);
    setIterations(1024);

    cbarRep = QImage(kCmapEntries, 1, QImage::Format_RGBA8888);
    cbarRep.fill(0);
    SliderImage->setBar(&cbarRep);
    mandel.clear();

    QWidget* window = this->window();
    const Margins m = windowMargins();
    const QRect visible = window->screen()->availableGeometry();
    window->setMaximumSize(kMaxPictureWidth + m.width, maxWindowHeight(visible.height(), m));
    window->setSizeIncrement(kSizeStep, kSizeStep);
    window->setBaseSize(m.width, m.height);

    resizeMandel(window->pos(), QSize(320, 240), 0);
    runMandel(kStartView, 2);
    if (osversion == 10.2) setFocus();
    window->show();
    window->raise();
    window->activateWindow();
    return true;
}

void DrawingView::connectControls() {
    connect(PushButton, &QPushButton::clicked, this, &DrawingView::pushButton);
    for (QPushButton* button :
         {PushButtonCa, PushButtonCb, PushButtonCR, PushButtonCG, PushButtonCB})
        connect(button, &QPushButton::clicked, this, [this, button] { pushButtonC(button); });
    connect(Slider, &QSlider::valueChanged, this, &DrawingView::sliderMove);
    for (QLineEdit* field : {TextField_x, TextField_y, TextField_w})
        connect(field, &QLineEdit::returnPressed, this, &DrawingView::setTextField);
}

void DrawingView::setDoubleValue(QLineEdit* field, double value) {
    field->setText(QString::number(value, 'g', 17));
    field->setCursorPosition(0);
}

double DrawingView::doubleValue(QLineEdit* field, double fallback) const {
    bool ok = false;
    const double value = QLocale::c().toDouble(field->text().trimmed(), &ok);
    return ok ? value : fallback;
}

void DrawingView::alert(const QString& title, const QString& message) {
    if (alertHandler_) {
        alertHandler_(title, message);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, title, message, QMessageBox::NoButton, window());
    box.setTextFormat(Qt::PlainText); // file names and URLs are shown as they are
    box.addButton(localized("Close"), QMessageBox::AcceptRole);
    box.exec();
}

} // namespace velq
