#include "editui/PanelCopyMove.h"

#include "editui/Texts.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <cmath>

namespace xantu {

TSmilie::TSmilie(QWidget* parent) : QWidget(parent), timer_(new QTimer(this)) {
    setObjectName(QStringLiteral("SmilieGif"));
    setFixedSize(24, 24);
    setAttribute(Qt::WA_TransparentForMouseEvents); // clicks belong to the panel
    timer_->setInterval(kFrameMs);
    connect(timer_, &QTimer::timeout, this, [this] {
        frame_ = (frame_ + 1) % kFrames;
        update();
    });
}

bool TSmilie::Running() const {
    return timer_->isActive();
}

void TSmilie::showEvent(QShowEvent* event) {
    timer_->start();
    QWidget::showEvent(event);
}

void TSmilie::hideEvent(QHideEvent* event) {
    timer_->stop();
    QWidget::hideEvent(event);
}

void TSmilie::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF face(1.5, 1.5, 21, 21);
    p.setPen(QPen(QColor(120, 80, 0), 1.2));
    p.setBrush(QColor(255, 214, 40));
    p.drawEllipse(face);
    // The eyes wander left and right; in the last frame they close.
    const double look = 2.0 * std::sin(frame_ * 2 * M_PI / kFrames);
    const bool blink = frame_ == kFrames - 1;
    p.setPen(QPen(QColor(60, 30, 0), 1.6));
    p.setBrush(QColor(60, 30, 0));
    for (double x : {8.0, 16.0}) {
        if (blink)
            p.drawLine(QPointF(x - 2 + look, 9), QPointF(x + 2 + look, 9));
        else
            p.drawEllipse(QPointF(x + look, 9), 1.5, 2.0);
    }
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(6, 8, 12, 9), -20 * 16, -140 * 16);
}

TPanelCopyMove::TPanelCopyMove(QWidget* parent) : QLabel(parent) {
    setObjectName(QStringLiteral("PanelCopyMove"));
    setFixedHeight(34);
    setAlignment(Qt::AlignCenter);
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    setToolTip(QString::fromUtf8(editui_texts::kPanelHint));
    QFont f = font();
    f.setBold(true);
    setFont(f);
    // Purple text while it takes clicks; disabled (the box is busy) it greys
    // like the rest of the window.
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, QColor(128, 0, 128));
    pal.setColor(QPalette::Disabled, QPalette::WindowText,
                 QApplication::palette().color(QPalette::Disabled, QPalette::WindowText));
    setPalette(pal);
    SmilieGif = new TSmilie(this);
    ShowMode(false);
}

void TPanelCopyMove::ShowMode(bool copyMode) {
    setText(QString::fromUtf8(copyMode ? editui_texts::kCopy : editui_texts::kMove));
    QPalette pal = palette();
    pal.setColor(QPalette::Window,
                 copyMode ? QColor(Qt::cyan) : QApplication::palette().color(QPalette::Button));
    setPalette(pal);
}

void TPanelCopyMove::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

void TPanelCopyMove::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    PanelCopyMoveResize();
}

void TPanelCopyMove::PanelCopyMoveResize() {
    SmilieGif->move(width() - kSmilieOffset, (height() - SmilieGif->height()) / 2);
}

} // namespace xantu
