// The window shell: builds the form, hands it to the DrawingView, and maps zoom and close.
#include "gui/mainwindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>

namespace velq {

MainWindow::MainWindow(Seams seams, QWidget* parent) : QMainWindow(parent) {
    ui_.setupUi(this);
    ui_.drawingView->initWithFrame(std::move(seams));
    connect(ui_.actionZoomWindow, &QAction::triggered, this, &MainWindow::zoom);
    connect(ui_.actionMinimize, &QAction::triggered, this, &QWidget::showMinimized);
    connect(ui_.actionHide, &QAction::triggered, this, &QWidget::showMinimized);
    connect(ui_.actionAbout, &QAction::triggered, this, [this] {
        QMessageBox::about(this, ui_.actionAbout->text(),
                           QStringLiteral("Velquorantisphaeron %1\nA Mandelbrot-set explorer.")
                               .arg(QCoreApplication::applicationVersion()));
    });
    connect(ui_.actionQuit, &QAction::triggered, this, &QWidget::close);
}

bool MainWindow::start() {
    return ui_.drawingView->awakeFromNib(ui_);
}

QRect MainWindow::zoomArea() const {
    // The screen's free area less what the window manager puts around the client area.
    const QRect available = screen()->availableGeometry();
    const QRect frame = frameGeometry();
    const QRect client = geometry();
    return QRect(available.topLeft(), available.size() - (frame.size() - client.size()));
}

void MainWindow::zoom() {
    ui_.drawingView->windowShouldZoom(zoomArea());
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // A maximize request is the zoom box: the program sets the frame itself.
    if (event->type() == QEvent::WindowStateChange && isMaximized() &&
        ui_.drawingView->driver().idle())
        QTimer::singleShot(0, this, [this] {
            showNormal();
            zoom();
        });
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    ui_.drawingView->windowDidShow();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    ui_.drawingView->stopRenderForClose();
    event->accept();
}

} // namespace velq
