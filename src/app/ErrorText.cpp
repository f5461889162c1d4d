#include "app/ErrorText.h"

#include <QDir>
#include <QFileInfo>
#include <new>

QString ReadFailureReason(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("ファイルが見つかりません。");
    if (info.isDir())
        return QStringLiteral("フォルダーは開けません。");
    if (!info.isReadable())
        return QStringLiteral("ファイルを読み取る権限がありません。");
    return QStringLiteral("Kubrellファイルではないか、ファイルが壊れています。");
}

QString WriteFailureReason(const QString& path) {
    const QFileInfo info(path);
    const QFileInfo folder(info.absolutePath());
    if (!folder.exists())
        return QStringLiteral("保存先のフォルダーがありません。");
    if (!folder.isWritable())
        return QStringLiteral("保存先のフォルダーに書き込む権限がありません。");
    if (info.isDir())
        return QStringLiteral("同じ名前のフォルダーがあります。");
    return QStringLiteral("ファイルを書き込めませんでした。");
}

QString DetailText(const std::exception& error) { return QString::fromUtf8(error.what()); }

namespace {

QString WithDetail(const QString& text, const std::exception& error) {
    const QString detail = DetailText(error);
    return detail.isEmpty() ? text : text + QStringLiteral("\n\n詳細: ") + detail;
}

} // namespace

QString OpenFailedMessage(const QString& path, const std::exception& error) {
    return WithDetail(QStringLiteral("%1 を開けませんでした。\n%2")
                          .arg(QDir::toNativeSeparators(path), ReadFailureReason(path)),
                      error);
}

QString SaveFailedMessage(const QString& path, const std::exception& error) {
    return WithDetail(QStringLiteral("%1 を保存できませんでした。\n%2")
                          .arg(QDir::toNativeSeparators(path), WriteFailureReason(path)),
                      error);
}

QString CommandFailedMessage(const std::exception& error) {
    if (dynamic_cast<const std::bad_alloc*>(&error))
        return QStringLiteral("メモリが不足しています。");
    return WithDetail(QStringLiteral("操作を完了できませんでした。"), error);
}
