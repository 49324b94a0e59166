#pragma once
// One panel of a status bar. Its text never makes the window wider: a text longer
// than the panel ends in an ellipsis and is shown whole as the panel's tool tip, so
// that a long line (the name of an exported workbook) can still be read.
#include <QLabel>

namespace zeko {

class TStatusPanel : public QLabel {
    Q_OBJECT
public:
    explicit TStatusPanel(QWidget* parent = nullptr);

    // The whole text; text() gives it back as set.
    void SetText(const QString& text);
    // The text as the panel shows it (elided when it is too long).
    QString ShownText() const;

    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void UpdateToolTip();
};

} // namespace zeko
