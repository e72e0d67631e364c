#include "sim/Replay.h"

#include <QList>

namespace sim {

namespace {
// The bytes of "7E 0A 52"; none when a word is not a byte in hex.
std::optional<std::vector<std::uint8_t>> HexBytes(const QByteArray& words) {
    std::vector<std::uint8_t> bytes;
    for (const QByteArray& word : words.split(' ')) {
        if (word.isEmpty()) continue;
        bool ok = false;
        const uint value = word.toUInt(&ok, 16);
        if (!ok || word.size() > 2) return std::nullopt;
        bytes.push_back(std::uint8_t(value));
    }
    return bytes;
}
}  // namespace

std::optional<std::vector<TExchange>> ReadTranscript(const QByteArray& text, QString* error) {
    std::vector<TExchange> exchanges;
    int number = 0;
    for (QByteArray line : text.split('\n')) {
        ++number;
        line = line.trimmed();
        if (line.isEmpty()) continue;
        // The program's record puts the time first: skip it.
        if (line[0] != '>' && line[0] != '<' && line[0] != '!') {
            const qsizetype space = line.indexOf(' ');
            if (space < 0)
                line.clear();
            else
                line = line.mid(space + 1);
        }
        const char direction = line.isEmpty() ? '\0' : line[0];
        if (direction == '!') continue;
        const auto bytes = direction == '>' || direction == '<'
                               ? HexBytes(line.mid(1))
                               : std::optional<std::vector<std::uint8_t>>{};
        if (!bytes) {
            if (error) *error = QStringLiteral("line %1 is not a transcript line").arg(number);
            return std::nullopt;
        }
        if (direction == '>' && !exchanges.empty() && exchanges.back().reply.empty()) {
            // Sent in pieces, or sent again unanswered: one stream of bytes
            // that the instrument answered once it had them all.
            auto& request = exchanges.back().request;
            request.insert(request.end(), bytes->begin(), bytes->end());
        } else if (direction == '>') {
            exchanges.push_back({*bytes, {}});
        } else if (!exchanges.empty()) {
            auto& reply = exchanges.back().reply;
            reply.insert(reply.end(), bytes->begin(), bytes->end());
        }
    }
    return exchanges;
}

}  // namespace sim
