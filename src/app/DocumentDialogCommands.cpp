#include "app/DocumentDialogCommands.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "app/ErrorText.h"
#include "app/ShellPrompts.h"
#include "document/DocumentSettings.h"
#include "document/DotDocument.h"
#include "document/DotPart.h"
#include "document/Profile.h"
#include "document/UpdateHints.h"
#include "generator/Generator.h"
#include "generator/OutputPaths.h"
#include "generator/PMDLimits.h"
#include "resources/CommandIds.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"
#include "rigging/BoneDialogModel.h"
#include "document/PhysicsEditing.h"
#include "rigging/StandardBoneDialogModel.h"

namespace {

// Shows the wait cursor for its lifetime.
class CWaitCursor {
public:
    CWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CWaitCursor() { QApplication::restoreOverrideCursor(); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

QColor ToQColor(uint32_t colorRef) {
    return QColor(RedOf(colorRef), GreenOf(colorRef), BlueOf(colorRef));
}

uint32_t ToColorRef(const QColor& color) {
    return MakeColorRef(color.red(), color.green(), color.blue());
}

QString GenerateFailedMessage(const QString& path, const std::exception& error) {
    QString reason;
    if (dynamic_cast<const COutputClashError*>(&error)) {
        reason = QStringLiteral("モデルとテクスチャと文書は別々のファイルにしてください。");
    } else if (const auto* limit = dynamic_cast<const CModelLimitError*>(&error)) {
        reason = QStringLiteral("モデルが %1 形式で扱える大きさを超えています。")
                     .arg(QString::fromStdString(limit->Format()));
        if (limit->Format() == "PMD")
            reason += QStringLiteral("\nPMX 形式 (*.pmx) なら書き出せます。");
    } else if (dynamic_cast<const CGeneratorError*>(&error))
        reason = QStringLiteral("部品の設定からモデルを作れません。");
    else if (dynamic_cast<const std::bad_alloc*>(&error))
        reason = QStringLiteral("メモリが不足しています。");
    else
        reason = WriteFailureReason(path);
    return QStringLiteral("モデル %1 を生成できませんでした。\n%2\n\n詳細: %3")
        .arg(QDir::toNativeSeparators(path), reason, DetailText(error));
}

} // namespace

QStringList ConvertFilterString(const QString& filter) {
    QStringList result;
    const QStringList parts = filter.split(u'|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString name = parts[i];
        QString pattern = parts[i + 1];
        if (name.isEmpty() || pattern.isEmpty())
            break;
        pattern.replace(QStringLiteral("*.*"), QStringLiteral("*"));
        pattern.replace(u';', u' ');
        // Qt takes the patterns from the last parentheses of the name.
        name.replace(QStringLiteral("(*.*)"), QStringLiteral("(*)"));
        if (!name.endsWith(u')'))
            name += QStringLiteral(" (") + pattern + u')';
        result.append(name);
    }
    return result;
}

CDocumentDialogCommands::CDocumentDialogCommands(CDotDocument& document, CProfile& profile,
                                                 CShellPrompts& prompts,
                                                 std::function<QString()> documentPath)
    : document_(document), profile_(profile), prompts_(prompts),
      documentPath_(std::move(documentPath)) {}

void CDocumentDialogCommands::GenerateModel() {
    FILE_PROMPT prompt;
    prompt.title = QStringLiteral("モデル生成");
    prompt.initialPath = QString::fromStdU16String(document_.modelPath);
    if (prompt.initialPath.isEmpty())
        prompt.initialPath =
            QString::fromStdU16String(profile_.GetString(ProfileWorkspace, u"ModelDirectory"));
    // Both model types; the last model's type comes first in the chooser.
    prompt.filters = ConvertFilterString(QString::fromStdU16String(LoadString(IDS_MODEL_FILTER)));
    prompt.filters.insert(1, QStringLiteral("PMXファイル(*.pmx)"));
    prompt.filterSuffixes = {QStringLiteral("pmd"), QStringLiteral("pmx"), QString()};
    const bool pmx =
        ModelFormatOfPath(QFile::encodeName(prompt.initialPath).toStdString()) == ModelFormat::PMX;
    prompt.selectedFilter = pmx ? 1 : 0;
    prompt.defaultSuffix = prompt.filterSuffixes[prompt.selectedFilter];
    const std::optional<QString> chosen = prompts_.ChooseSaveFile(prompt);
    if (!chosen || chosen->isEmpty())
        return;
    const QString path = WithDefaultSuffix(*chosen, prompt.defaultSuffix);
    if (GenerateModelTo(path))
        document_.modelPath = QFileInfo(path).absoluteFilePath().toStdU16String();
}

bool CDocumentDialogCommands::GenerateModelTo(const QString& path) {
    try {
        CWaitCursor wait;
        const std::string model = QFile::encodeName(path).toStdString();
        const QString source = documentPath_ ? documentPath_() : QString();
        CheckOutputsApart(QFile::encodeName(source).toStdString(), model, TexturePathFor(model));
        CGenerator(document_, model).Generate();
    } catch (const std::exception& error) {
        prompts_.ShowError(GenerateFailedMessage(path, error));
        return false;
    }
    return true;
}

void CDocumentDialogCommands::EditDotSize() {
    if (const std::optional<float> value = prompts_.EditDotSize(QString(), document_.dotSize))
        SetDotSize(document_, *value);
}

void CDocumentDialogCommands::EditPartRate() {
    CPart* part = document_.currentPart;
    if (!part)
        return;
    if (const std::optional<float> value =
            prompts_.EditDotSize(QString::fromStdU16String(LoadString(IDS_RATE)), part->rate))
        SetPartRate(*part, *value);
}

void CDocumentDialogCommands::EditBone() {
    CPart* part = document_.currentPart;
    if (!part)
        return;
    CBoneDialogModel model(*part);
    if (prompts_.EditBone(model))
        model.Apply();
}

void CDocumentDialogCommands::AddStandardBones() {
    CStandardBoneDialogModel model(document_);
    if (prompts_.ChooseStandardBones(model))
        model.Apply();
}

void CDocumentDialogCommands::EditPhysics() {
    auto* part = dynamic_cast<CDotPart*>(document_.currentPart);
    if (!part)
        return;
    CPhysicsDialogModel model(*part);
    if (prompts_.EditPhysics(model))
        model.Apply();
}

void CDocumentDialogCommands::EditBackground() {
    const std::optional<QColor> chosen = prompts_.ChooseColor(ToQColor(document_.background));
    if (!chosen || !chosen->isValid())
        return;
    const uint32_t color = ToColorRef(*chosen);
    if (color == document_.background)
        return;
    document_.background = color;
    document_.UpdateAllViews(nullptr, Notice<HINT_BACKGROUND>());
    profile_.WriteInt(ProfileWorkspace, u"Background", static_cast<int>(color));
}

void CDocumentDialogCommands::EditCurrentColor(int which) {
    if (!CanEditColor(document_, which))
        return;
    const int index = document_.currentColor[static_cast<size_t>(which)];
    const CDotColor& entry = document_.GetColor(index);
    if (const std::optional<PALETTE_COLOR> value =
            prompts_.EditPaletteColor({entry.color, entry.alpha, entry.material}))
        EditColor(document_, index, value->color, value->alpha, value->material);
}

std::span<const CCommandHandler<CDocumentDialogCommands>> CDocumentDialogCommands::Handlers() {
    using Commands = CDocumentDialogCommands;
    // Colour 1 or colour 2 of the command.
    auto colorHandler = [](unsigned id) {
        return CCommandHandler<Commands>{
            .id = id,
            .run =
                [](Commands& commands, unsigned command) {
                    commands.EditCurrentColor(command == ID_SET_COLOR1 ? 0 : 1);
                },
            .update =
                [](const Commands& commands, unsigned command, CCommandState& state) {
                    state.enabled =
                        CanEditColor(commands.document_, command == ID_SET_COLOR1 ? 0 : 1);
                }};
    };
    constexpr auto hasPart = [](const Commands& c, unsigned) {
        return c.document_.currentPart != nullptr;
    };
    static const CCommandHandler<Commands> handlers[] = {
        {.id = ID_GENERATE_MODEL, .run = [](Commands& c, unsigned) { c.GenerateModel(); }},
        {.id = ID_DOT_SIZE, .run = [](Commands& c, unsigned) { c.EditDotSize(); }},
        {.id = ID_BACKGROUND_COLOR, .run = [](Commands& c, unsigned) { c.EditBackground(); }},
        colorHandler(ID_SET_COLOR1),
        colorHandler(ID_SET_COLOR2),
        // Part commands: without a current part nobody handles them.
        {.id = ID_PART_RATE,
         .takes = hasPart,
         .run = [](Commands& c, unsigned) { c.EditPartRate(); }},
        {.id = ID_PART_BONE, .takes = hasPart, .run = [](Commands& c, unsigned) { c.EditBone(); }},
        {.id = ID_PART_PHYSICS,
         .takes = hasPart,
         .run = [](Commands& c, unsigned) { c.EditPhysics(); }},
        {.id = ID_PART_STANDARD_BONES, .run = [](Commands& c, unsigned) { c.AddStandardBones(); }},
    };
    return handlers;
}

bool CDocumentDialogCommands::OnCommand(unsigned id) { return RunCommand(Handlers(), *this, id); }

bool CDocumentDialogCommands::OnUpdateCommand(unsigned id, CCommandState& state) {
    return UpdateCommand(Handlers(), *this, id, state);
}
