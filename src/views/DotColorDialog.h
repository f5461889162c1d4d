#pragma once
// The colour dialog ("色の設定") of one palette entry: red, green and blue
// 0–255, alpha 0.0–1.0 (editable only for a material), the material flag and
// "参照..." for the colour chooser. OK checks the numbers and stays open,
// saying what is wrong, until they are valid.

#include <QDialog>
#include <cstdint>
#include <optional>

class QCheckBox;
class QLineEdit;

struct PALETTE_COLOR {
    uint32_t color; // COLORREF: red in the lowest byte
    float alpha;
    bool material;
};

class CDotColorDialog : public QDialog {
    Q_OBJECT
public:
    CDotColorDialog(const PALETTE_COLOR& value, QWidget* parent = nullptr);

    // The values in the controls, or nothing with the reason when one is
    // not valid.
    std::optional<PALETTE_COLOR> ReadControls(QString* problem = nullptr) const;
    // The accepted values (after OK).
    PALETTE_COLOR Value() const { return value_; }

    QLineEdit* ChannelEdit(int channel) const { return channels_[channel]; }
    QLineEdit* AlphaEdit() const { return alpha_; }
    QCheckBox* MaterialBox() const { return material_; }

    void accept() override;

private:
    void Fill(const PALETTE_COLOR& value);
    void Browse();

    PALETTE_COLOR value_;
    QLineEdit* channels_[3];
    QLineEdit* alpha_;
    QCheckBox* material_;
};
