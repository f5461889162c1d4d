#include "views/BoneDialog.h"

#include <QDialogButtonBox>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "document/Part.h"
#include "rigging/BoneDialogModel.h"
#include "views/DialogButtons.h"
#include "views/FloatFields.h"

namespace {

QString Text(const std::u16string& text) { return QString::fromStdU16String(text); }

// A drop-down list: an empty entry (none), then the parts' names.
void FillPartList(QComboBox* list, const std::vector<CPart*>& parts, int selection) {
    list->addItem(QString());
    for (const CPart* part : parts)
        list->addItem(Text(part->name));
    list->setCurrentIndex(selection);
}

QLabel* Buddy(const QString& text, QWidget* control) {
    auto* label = new QLabel(text);
    label->setBuddy(control);
    return label;
}

} // namespace

CBoneDialog::CBoneDialog(CBoneDialogModel& model, QWidget* parent)
    : QDialog(parent), model_(model) {
    setWindowTitle(QStringLiteral("ボーン編集"));
    BuildControls();
    Fill();

    connect(name_, &QLineEdit::textChanged, this, [this](const QString& text) {
        model_.name = text.toStdU16String();
        UpdateEnabled();
    });
    connect(kinds_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            model_.kindRadio = id;
    });
    connect(morph_, &QCheckBox::toggled, this, [this](bool checked) {
        model_.morph = checked;
        UpdateEnabled();
    });
    connect(link_, &QComboBox::currentIndexChanged, this,
            [this](int index) { model_.linkSelection = index; });
    connect(ikName_, &QLineEdit::textChanged, this, [this](const QString& text) {
        model_.ikName = text.toStdU16String();
        UpdateEnabled();
    });
    connect(ikRange_, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem*> selected = ikRange_->selectedItems();
        model_.ikRangeSelection = selected.isEmpty() ? -1 : ikRange_->row(selected.front());
    });
    connect(ikParent_, &QComboBox::currentIndexChanged, this,
            [this](int index) { model_.ikParentSelection = index; });
    UpdateEnabled();
}

void CBoneDialog::BuildControls() {
    name_ = new QLineEdit(this);

    auto* kindBox = new QGroupBox(QStringLiteral("種類"), this);
    auto* kindLayout = new QVBoxLayout(kindBox);
    kinds_ = new QButtonGroup(this);
    const QString kindTexts[4] = {QStringLiteral("移動可能(&M)"), QStringLiteral("回転可能(&R)"),
                                  QStringLiteral("ボーンなし(&N)"), QStringLiteral("非表示(&H)")};
    for (int i = 0; i < 4; ++i) {
        auto* radio = new QRadioButton(kindTexts[i], kindBox);
        kinds_->addButton(radio, i);
        kindLayout->addWidget(radio);
    }

    morph_ = new QCheckBox(QStringLiteral("モーフ(&O)"), this);
    link_ = new QComboBox(this);

    auto* angleBox = new QGroupBox(QStringLiteral("角度"), this);
    auto* angleLayout = new QFormLayout(angleBox);
    const QString axes[3] = {QStringLiteral("&X:"), QStringLiteral("&Y:"), QStringLiteral("&Z:")};
    for (size_t axis = 0; axis < 3; ++axis) {
        angles_[axis] = new QLineEdit(angleBox);
        angleLayout->addRow(axes[axis], angles_[axis]);
    }

    ikName_ = new QLineEdit(this);
    ikRange_ = new QListWidget(this);
    ikRange_->setSelectionMode(QAbstractItemView::SingleSelection);
    ikParent_ = new QComboBox(this);

    const OK_CANCEL buttons = MakeOkCancel(this);
    ok_ = buttons.ok;

    // Left: name, kind, morph and link; right: angles and IK.
    auto* left = new QVBoxLayout;
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(Buddy(QStringLiteral("名前(&N):"), name_));
    nameRow->addWidget(name_);
    left->addLayout(nameRow);
    left->addWidget(kindBox);
    left->addWidget(morph_);
    auto* linkRow = new QHBoxLayout;
    linkRow->addWidget(Buddy(QStringLiteral("連動:"), link_));
    linkRow->addWidget(link_, 1);
    left->addLayout(linkRow);
    left->addStretch();

    auto* right = new QGridLayout;
    right->addWidget(angleBox, 0, 0, 1, 2);
    right->addWidget(Buddy(QStringLiteral("IK名(&I):"), ikName_), 1, 0);
    right->addWidget(ikName_, 1, 1);
    right->addWidget(Buddy(QStringLiteral("IK範囲(&R):"), ikRange_), 2, 0, Qt::AlignTop);
    right->addWidget(ikRange_, 2, 1);
    right->addWidget(Buddy(QStringLiteral("IK親(&A):"), ikParent_), 3, 0);
    right->addWidget(ikParent_, 3, 1);
    ikRange_->setMaximumHeight(90);

    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(buttons.box);
}

void CBoneDialog::Fill() {
    name_->setText(Text(model_.name));
    if (QAbstractButton* radio = kinds_->button(model_.kindRadio))
        radio->setChecked(true);
    morph_->setChecked(model_.morph);
    FillPartList(link_, model_.linkCandidates, model_.linkSelection);
    for (size_t axis = 0; axis < 3; ++axis)
        ShowFloat(angles_[axis], model_.angleDegrees[axis]);
    ikName_->setText(Text(model_.ikName));
    for (const CPart* ancestor : model_.ancestors)
        ikRange_->addItem(Text(ancestor->name));
    if (model_.ikRangeSelection >= 0)
        ikRange_->setCurrentRow(model_.ikRangeSelection);
    FillPartList(ikParent_, model_.ancestors, model_.ikParentSelection);
}

QRadioButton* CBoneDialog::KindRadio(int index) const {
    return static_cast<QRadioButton*>(kinds_->button(index));
}

void CBoneDialog::UpdateEnabled() {
    for (QAbstractButton* radio : kinds_->buttons())
        radio->setEnabled(model_.AreKindRadiosEnabled());
    link_->setEnabled(model_.IsLinkListEnabled());
    ikRange_->setEnabled(model_.AreIkListsEnabled());
    ikParent_->setEnabled(model_.AreIkListsEnabled());
    ok_->setEnabled(model_.IsOkEnabled());
}

void CBoneDialog::accept() {
    std::array<float, 3> degrees{};
    if (!ReadFloatFields(this, angles_, degrees))
        return;
    model_.angleDegrees = degrees;
    if (!model_.IsOkEnabled())
        return;
    QDialog::accept();
}
