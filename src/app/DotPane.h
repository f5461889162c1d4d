#pragma once
// The middle column of the main window: the palette strip across the top and
// the dot view below it. The pane gives the focus it receives to the dot view.

#include <QWidget>

class CDotPane : public QWidget {
    Q_OBJECT
public:
    // Takes ownership of both views.
    CDotPane(QWidget* paletteView, QWidget* dotView, QWidget* parent = nullptr);

    QWidget* PaletteView() const { return palette_; }
    QWidget* DotView() const { return dotView_; }

    // Height of the palette strip: the horizontal scroll bar's height plus
    // 38 device-independent pixels at the given dots per inch (truncated).
    static int PaletteHeight(int scrollBarHeight, int dpi);
    // Gap between the palette strip and the dot view.
    static constexpr int BorderHeight = 1;

signals:
    // The pane passed the focus on to the dot view.
    void DotViewActivated();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    void Arrange();

    QWidget* palette_;
    QWidget* dotView_;
};
