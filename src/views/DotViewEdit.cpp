// The dot view's selection and clipboard commands: select all, delete, cut,
// copy, paste, the turns and flips, and divide.

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QImage>
#include <QImageReader>
#include <QMimeData>
#include <exception>

#include "document/DotClipboard.h"
#include "document/DotDocument.h"
#include "document/PartOperations.h"
#include "document/SelectionTransform.h"
#include "resources/CommandIds.h"
#include "views/ClipboardFormats.h"
#include "views/DotViewTools.h"

namespace {

constexpr unsigned StringDelete = 131; // 削除
constexpr unsigned StringCut = 902;    // 切り取り
constexpr unsigned StringPaste = 903;  // 貼り付け

// Pictures larger than this many pixels are not decoded at all.
constexpr qint64 MaxPicturePixels = 64ll * 1024 * 1024;

const QString UnreadablePicture = QStringLiteral("クリップボードの画像を読み込めません");

QByteArray Bytes(const std::vector<uint8_t>& bytes) {
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

std::span<const uint8_t> Span(const QByteArray& bytes) {
    return {reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())};
}

// Decodes an encoded picture after checking its stated size; null when it is
// unreadable, empty or too large.
QImage ReadPicture(const QByteArray& bytes, const char* format = nullptr) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > MaxPicturePixels)
        return {};
    return reader.read();
}

// A dot-view command of the selection family.
struct EDIT_COMMAND {
    unsigned id;
    void (*run)(CDotView& view);
    bool needsSelection; // otherwise a current part suffices
};

void RunDelete(CDotView& view) { view.DeleteSelection(StringDelete); }

const EDIT_COMMAND EditCommands[] = {
    {ID_EDIT_SELECT_ALL, [](CDotView& view) { view.SelectAll(); }, false},
    {ID_EDIT_CLEAR, RunDelete, true},
    {ID_EDIT_COPY, [](CDotView& view) { view.Copy(); }, true},
    {ID_EDIT_CUT, [](CDotView& view) { view.Cut(); }, true},
    {ID_DOT_DIVIDE, [](CDotView& view) { view.Divide(); }, true},
};

const EDIT_COMMAND* FindEditCommand(unsigned id) {
    for (const EDIT_COMMAND& command : EditCommands)
        if (command.id == id)
            return &command;
    return nullptr;
}

} // namespace

bool CDotView::RunEditCommand(unsigned id) {
    if (const SelectionTransform* transform = SelectionTransform::FromCommand(id)) {
        if (HasSelection())
            Transform(*transform);
        return true;
    }
    const EDIT_COMMAND* command = FindEditCommand(id);
    if (!command)
        return false;
    // Keys reach here without the menu's check.
    if (part_ && (!command->needsSelection || HasSelection()))
        command->run(*this);
    return true;
}

bool CDotView::UpdateEditCommand(unsigned id, CCommandState& state) const {
    const EDIT_COMMAND* command = FindEditCommand(id);
    if (!command && !SelectionTransform::FromCommand(id))
        return false;
    const bool needsSelection = !command || command->needsSelection;
    state.enabled = needsSelection ? HasSelection() : part_ != nullptr;
    return true;
}

void CDotView::SelectAll() {
    setFocus(Qt::OtherFocusReason);
    slice_.Stamp(Key());
    SelectTool(ToolFor(ID_TOOL_SELECT));
    slice_.Lift({0, 0, SliceSide, SliceSide}, Key());
    Invalidate();
}

void CDotView::DeleteSelection(unsigned nameId) {
    slice_.DeleteSelection(Key());
    CommitSlice(nameId);
    Invalidate();
}

QMimeData* CDotView::MakeMimeData(const CDotImage& block) const {
    auto* mime = new QMimeData;
    mime->setData(DotImageMimeType, Bytes(EncodeDotBlock(block)));
    const std::vector<uint32_t> pixels = BlockPixels(block, document_);
    QImage picture(block.GetWidth(), block.GetHeight(), QImage::Format_ARGB32);
    for (int y = 0; y < block.GetHeight(); ++y)
        for (int x = 0; x < block.GetWidth(); ++x)
            picture.setPixel(x, y, pixels[size_t(y) * size_t(block.GetWidth()) + size_t(x)]);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    mime->setData(PngMimeType, png);
    mime->setData(BitmapMimeType, Bytes(EncodeBitmap(block, document_)));
    return mime;
}

void CDotView::Copy() {
    if (slice_.selection.IsEmpty())
        return;
    QApplication::clipboard()->setMimeData(MakeMimeData(slice_.SelectedCells()));
}

void CDotView::Cut() {
    Copy();
    DeleteSelection(StringCut);
}

void CDotView::Paste() {
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    if (mime && !PasteFrom(*mime))
        emit StatusTextChanged(0, UnreadablePicture);
}

bool CDotView::PasteFrom(const QMimeData& mime) {
    if (!part_)
        return false;
    if (mime.hasFormat(DotImageMimeType)) {
        const std::optional<CDotImage> block = DecodeDotBlock(Span(mime.data(DotImageMimeType)));
        if (!block || block->GetWidth() < 1 || block->GetHeight() < 1)
            return false;
        PasteBlock(*block);
        return true;
    }
    QImage picture;
    if (mime.hasFormat(PngMimeType))
        picture = ReadPicture(mime.data(PngMimeType), "PNG");
    else if (mime.hasFormat(BitmapMimeType))
        picture = ReadPicture(mime.data(BitmapMimeType), "BMP");
    else if (mime.hasImage())
        picture = qvariant_cast<QImage>(mime.imageData());
    if (picture.isNull() || picture.width() < 1 || picture.height() < 1)
        return false;
    const QImage argb = picture.copy(0, 0, std::min(picture.width(), MaxPasteSide),
                                     std::min(picture.height(), MaxPasteSide))
                            .convertToFormat(QImage::Format_ARGB32);
    PasteBlock(PictureToBlock(
        argb.width(), argb.height(), picture.hasAlphaChannel(),
        [&argb](int x, int y) { return uint32_t(argb.pixel(x, y)); }, document_));
    return true;
}

void CDotView::PasteBlock(const CDotImage& block) {
    if (block.GetWidth() < 1 || block.GetHeight() < 1)
        return;
    ClearSelection();
    SelectTool(ToolFor(ID_TOOL_SELECT));
    slice_.Float(block, Key());
    CommitSlice(StringPaste);
    Invalidate();
}

void CDotView::Transform(const SelectionTransform& transform) {
    slice_.Transform(transform);
    Invalidate();
    CommitSlice(transform.nameId);
}

void CDotView::Divide() {
    const DotRect selection = slice_.selection;
    try {
        // The new part becomes current and the view follows it; the same
        // cells are selected there.
        if (!DividePart(*part_, selection))
            return;
    } catch (const std::exception& error) {
        emit StatusTextChanged(0, QString::fromUtf8(error.what()));
        return;
    }
    if (part_ && slice_.selection.IsEmpty())
        slice_.Lift(selection, Key());
    Invalidate();
}
