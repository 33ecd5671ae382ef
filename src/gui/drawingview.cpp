// DrawingView construction and the start-up sequence up to the first picture.
#include "gui/drawingview.h"

#include "gui/colourbarview.h"
#include "gui/localization.h"
#include "ui_mainwindow.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSlider>

namespace velq {

DrawingView::DrawingView(QWidget* parent)
    : QWidget(parent), hand_(
                           this, [this] { collectGesture(); }, [this] { restGesture(); }),
      sizing_(this, [this] { viewDidEndLiveResize(); }) {}

DrawingView::~DrawingView() = default;

void DrawingView::initWithFrame(Seams seams) {
    seams_ = std::move(seams);
    osversion_ = osversionFor(seams_.toolkitVersion);
    // Outside the picture (a window manager that ignores the size steps) stays black.
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAcceptDrops(true);
}

bool DrawingView::awakeFromNib(Ui_MainWindow& ui) {
    if (osversion_ >= 10.3) {
        for (QLineEdit* field : {ui.TextField_x, ui.TextField_y, ui.TextField_w})
            field->setAttribute(Qt::WA_MacShowFocusRect, false);
        for (QPushButton* toggle : {ui.PushButtonCR, ui.PushButtonCG, ui.PushButtonCB})
            toggle->setFixedSize(15, 20);
    } else if (osversion_ >= 10.2) {
        ui.PushButtonCR->setFixedSize(16, 16);
        ui.PushButtonCG->setFixedSize(17, 16);
        ui.PushButtonCB->setFixedSize(16, 16);
    } else {
        alert(QStringLiteral("Velquorantisphaeron"),
              localized("Alert_os_version").arg(osversion_, 0, 'g', 3));
        return false;
    }
    ui_ = &ui;
    driver_.connect({ui.PushButton, ui.progressIndicator, ui.progressBar}, seams_.kernel);
    hand_.setKernel(seams_.kernel);
    fields_.connect({ui.TextField_x, ui.TextField_y, ui.TextField_w});
    colours_.connect({ui.PushButtonCa, ui.PushButtonCb, ui.PushButtonCR, ui.PushButtonCG,
                      ui.PushButtonCB, ui.Slider, ui.SliderNum, ui.SliderImage});
    savePanel_.create(this);
    recent_.connect(ui.menuRecent, ui.actionClearRecent, [this](const QUrl& u) { openNamed(u); });
    connectControls();
    connectMenus(ui);
    localization();

    fields_.show(0.0, 0.0, 2.0);
    setIterations(1024);
    sizing_.setLimits();
    resizeMandel(window()->pos(), QSize(320, 240), 0);
    runMandel(kStartView, 2);
    if (osversion_ == 10.2) setFocus();
    window()->show();
    window()->raise();
    window()->activateWindow();
    return true;
}

void DrawingView::connectControls() {
    const ColourControls::Outlets& colour = colours_.outlets();
    connect(driver_.outlets().PushButton, &QPushButton::clicked, this, &DrawingView::pushButton);
    for (QPushButton* button : {colour.PushButtonCa, colour.PushButtonCb, colour.PushButtonCR,
                                colour.PushButtonCG, colour.PushButtonCB})
        connect(button, &QPushButton::clicked, this, [this, button] { pushButtonC(button); });
    connect(colour.Slider, &QSlider::valueChanged, this, &DrawingView::sliderMove);
    colour.SliderImage->setDragStarter([this](bool half) {
        if (!driver_.idle()) return;
        selection_.setMouseOn(half ? MouseOn::DragHalf : MouseOn::DragFull);
        dragImage();
    });
    colour.SliderImage->setCursor(Qt::OpenHandCursor);
    colour.SliderImage->setToolTip(localized("DragPicture"));
    const CoordinateFields::Outlets& typed = fields_.outlets();
    for (QLineEdit* field : {typed.TextField_x, typed.TextField_y, typed.TextField_w})
        connect(field, &QLineEdit::returnPressed, this, &DrawingView::setTextField);
}

void DrawingView::alert(const QString& title, const QString& message) {
    if (seams_.alert) {
        seams_.alert(title, message);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, title, message, QMessageBox::NoButton, window());
    box.setTextFormat(Qt::PlainText); // file names and URLs are shown as they are
    box.addButton(localized("Close"), QMessageBox::AcceptRole);
    box.exec();
}

bool DrawingView::ask(const QString& title, const QString& message, const QString& confirm) {
    if (seams_.ask) return seams_.ask(title, message, confirm);
    QMessageBox box(QMessageBox::Question, title, message, QMessageBox::NoButton, window());
    box.setTextFormat(Qt::PlainText);
    QPushButton* yes = box.addButton(confirm, QMessageBox::AcceptRole);
    box.setDefaultButton(box.addButton(localized("Cancel"), QMessageBox::RejectRole));
    box.exec();
    return box.clickedButton() == yes;
}

} // namespace velq
