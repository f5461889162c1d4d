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

} // namespace

std::span<const CCommandHandler<CDotView>> CDotView::Handlers() {
    using Handler = CCommandHandler<CDotView>;
    constexpr auto chooseTool = [](CDotView& view, unsigned id) {
        view.SelectTool(view.ToolFor(id));
    };
    constexpr auto toolState = [](const CDotView& view, unsigned id, CCommandState& state) {
        state.radio = true;
        state.checked = view.CurrentToolId() == id;
    };
    // Commands on the selection; keys reach run without the menu's check.
    constexpr auto needsSelection = [](const CDotView& view, unsigned, CCommandState& state) {
        state.enabled = view.HasSelection();
    };
    static constexpr Handler handlers[] = {
        {.id = ID_TOOL_SELECT, .run = chooseTool, .update = toolState},
        {.id = ID_TOOL_PENCIL, .run = chooseTool, .update = toolState},
        {.id = ID_TOOL_LINE, .run = chooseTool, .update = toolState},
        {.id = ID_TOOL_RECTANGLE, .run = chooseTool, .update = toolState},
        {.id = ID_TOOL_FILLED_RECTANGLE, .run = chooseTool, .update = toolState},
        {.id = ID_TOOL_PAINT, .run = chooseTool, .update = toolState},
        {.id = ID_TOOL_SPOIT, .run = chooseTool, .update = toolState},
        {.id = ID_EDIT_SELECT_ALL,
         .run =
             [](CDotView& view, unsigned) {
                 if (view.part_)
                     view.SelectAll();
             },
         .update = [](const CDotView& view, unsigned,
                      CCommandState& state) { state.enabled = view.part_ != nullptr; }},
        {.id = ID_EDIT_CLEAR,
         .run =
             [](CDotView& view, unsigned) {
                 if (view.HasSelection())
                     view.DeleteSelection(StringDelete);
             },
         .update = needsSelection},
        {.id = ID_EDIT_COPY,
         .run =
             [](CDotView& view, unsigned) {
                 if (view.HasSelection())
                     view.Copy();
             },
         .update = needsSelection},
        {.id = ID_EDIT_CUT,
         .run =
             [](CDotView& view, unsigned) {
                 if (view.HasSelection())
                     view.Cut();
             },
         .update = needsSelection},
        {.id = ID_DOT_ROTATE_RIGHT,
         .count = ID_DOT_FLIP_VERTICAL - ID_DOT_ROTATE_RIGHT + 1,
         .run =
             [](CDotView& view, unsigned id) {
                 if (view.HasSelection())
                     view.Transform(*SelectionTransform::FromCommand(id));
             },
         .update = needsSelection},
        {.id = ID_DOT_DIVIDE,
         .run =
             [](CDotView& view, unsigned) {
                 if (view.HasSelection())
                     view.Divide();
             },
         .update = needsSelection},
    };
    return handlers;
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
    const QImage argb = picture
                            .copy(0, 0, std::min(picture.width(), MaxPasteSide),
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
