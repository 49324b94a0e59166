#include "platform/qt/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <algorithm>

namespace zeko {

void TQtClipboard::SetBlock(uint32_t format, std::vector<uint8_t> block) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return;
    clipboard->clear();
    if (format != CF_TEXT)
        return;
    const auto end = std::find(block.begin(), block.end(), uint8_t{0});
    clipboard->setText(QString::fromUtf8(reinterpret_cast<const char*>(block.data()),
                                         static_cast<qsizetype>(end - block.begin())));
}

std::optional<std::vector<uint8_t>> TQtClipboard::GetBlock(uint32_t format) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard || format != CF_TEXT)
        return std::nullopt;
    const QMimeData* data = clipboard->mimeData();
    if (!data || !data->hasText())
        return std::nullopt;
    const QByteArray text = clipboard->text().toUtf8();
    std::vector<uint8_t> block(text.begin(), text.end());
    block.push_back(0);
    return block;
}

} // namespace zeko
