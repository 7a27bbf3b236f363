// The panel above the bouquet tree that shows whether a drop moves or
// copies, with a small animated face near its right edge. A click on it
// toggles the mode.
#pragma once

#include <QLabel>

class QTimer;

namespace xantu {

// A small smiling face drawn frame by frame: it looks left and right and
// blinks now and then.
class TSmilie : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kFrames = 16;
    static constexpr int kFrameMs = 150;
    explicit TSmilie(QWidget* parent = nullptr);
    int Frame() const { return frame_; }
    bool Running() const;
    QSize sizeHint() const override { return {24, 24}; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    QTimer* timer_;
    int frame_ = 0;
};

class TPanelCopyMove : public QLabel {
    Q_OBJECT
  public:
    static constexpr int kSmilieOffset = 32;
    explicit TPanelCopyMove(QWidget* parent = nullptr);

    // Caption and background of the mode: "Kopieren" on cyan, or
    // "Verschieben" on the button face.
    void ShowMode(bool copyMode);

    TSmilie* SmilieGif = nullptr;

  signals:
    void clicked();

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void PanelCopyMoveResize();
};

} // namespace xantu
