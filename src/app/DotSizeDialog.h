#pragma once
// The dot-size dialog ("ドットの大きさ"), which also serves as the part-rate
// dialog when given a caption: one number, confirmed only when it is greater
// than 0.

#include <QDialog>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

// The number in text (surrounding blanks allowed, '.' as decimal point), or
// nothing when text is not exactly one finite number that fits a float.
std::optional<float> ParseDotSize(const QString& text);

class CDotSizeDialog : public QDialog {
    Q_OBJECT
public:
    // An empty caption keeps the dialog's own title "ドットの大きさ".
    CDotSizeDialog(const QString& caption, float value, QWidget* parent = nullptr);

    // The value the dialog was opened with, or the last valid number typed.
    float Value() const { return value_; }
    bool IsOkEnabled() const;
    QLineEdit* Edit() const { return edit_; }

private:
    // Re-reads the text: OK is enabled exactly for a number greater than 0.
    void OnTextChanged(const QString& text);

    float value_;
    QLineEdit* edit_;
    QLabel* message_;
    QPushButton* ok_;
};
