#pragma once
// The document's menu commands that need the user or the settings: generate
// the model, the dot size, the background colour, the colours 1 and 2 and
// the current part's rate (the document itself runs the commands that need
// no dialog). They sit behind the document in the command chain and edit it
// only through its undo list (except the background colour, which is not an
// undoable change).

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

#include "document/CommandTarget.h"

class CDotDocument;
class CProfile;
class CShellPrompts;

class CDocumentDialogCommands : public CCommandTarget {
public:
    // documentPath gives the file the document was read from or saved to
    // (empty for a new document): generation never writes over it.
    CDocumentDialogCommands(CDotDocument& document, CProfile& profile, CShellPrompts& prompts,
                            std::function<QString()> documentPath = {});

    // "モデル生成(&G)...": asks for the model file, generates, remembers the path.
    void GenerateModel();
    // Generates the model into path with the wait cursor shown; reports
    // failures to the user. Returns whether the model file was written.
    bool GenerateModelTo(const QString& path);
    // "ドットの大きさ(&D)...".
    void EditDotSize();
    // "背景色(&C)...".
    void EditBackground();
    // "色&1の設定..." (which 0) and "色&2の設定..." (which 1): the colour dialog
    // on the palette entry of that current colour.
    void EditCurrentColor(int which);
    // "倍率(&R)..." of the current part: the dot-size dialog titled "倍率".
    void EditPartRate();

    bool OnCommand(unsigned id) override;
    bool OnUpdateCommand(unsigned id, CCommandState& state) override;

private:
    // The dialog commands: generate, dot size, background, colours, rate.
    static std::span<const CCommandHandler<CDocumentDialogCommands>> Handlers();

    CDotDocument& document_;
    CProfile& profile_;
    CShellPrompts& prompts_;
    std::function<QString()> documentPath_;
};

// A filter string of the form "name|pattern|name|pattern||" as Qt file
// dialog filters. "*.*" means every file, as "*" does here.
QStringList ConvertFilterString(const QString& filter);
