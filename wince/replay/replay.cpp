// The body of a replay: variable-length numbers, each stream of one kind
// apart from the others and the counter's readings as differences from the
// one before, so that what repeats lines up for the compressor.
#include "wince/replay/replay.h"

#include <limits>

namespace wince::replay {

namespace {

constexpr uint64_t kDigestPrime = 0x100000001b3ull;
constexpr uint64_t kDigestBasis = 0xcbf29ce484222325ull;

uint64_t ZigZag(int64_t value) {
    return (static_cast<uint64_t>(value) << 1) ^ static_cast<uint64_t>(value >> 63);
}

int64_t UnZigZag(uint64_t value) {
    return static_cast<int64_t>(value >> 1) ^ -static_cast<int64_t>(value & 1);
}

class Writer {
public:
    void Number(uint64_t value) {
        while (value >= 0x80) {
            bytes_.push_back(static_cast<uint8_t>(value | 0x80));
            value >>= 7;
        }
        bytes_.push_back(static_cast<uint8_t>(value));
    }
    void Signed(int64_t value) { Number(ZigZag(value)); }
    void Fixed(uint64_t value) {
        for (int i = 0; i < 8; ++i) bytes_.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
    void Bytes(std::span<const uint8_t> bytes) {
        Number(bytes.size());
        bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    }
    void Text(const std::string &text) {
        Bytes({reinterpret_cast<const uint8_t *>(text.data()), text.size()});
    }
    std::vector<uint8_t> Take() { return std::move(bytes_); }

private:
    std::vector<uint8_t> bytes_;
};

class Reader {
public:
    explicit Reader(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    bool Number(uint64_t &value) {
        value = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            if (at_ == bytes_.size()) return false;
            const uint8_t byte = bytes_[at_++];
            value |= static_cast<uint64_t>(byte & 0x7f) << shift;
            if ((byte & 0x80) == 0) return true;
        }
        return false;
    }
    bool Signed(int64_t &value) {
        uint64_t raw = 0;
        if (!Number(raw)) return false;
        value = UnZigZag(raw);
        return true;
    }
    bool Fixed(uint64_t &value) {
        if (bytes_.size() - at_ < 8) return false;
        value = 0;
        for (int i = 0; i < 8; ++i) value |= static_cast<uint64_t>(bytes_[at_++]) << (8 * i);
        return true;
    }
    // Every item takes a byte at least: a count the bytes left cannot hold
    // is refused before anything is made for it.
    bool Count(uint64_t &count) { return Number(count) && count <= bytes_.size() - at_; }
    bool Bytes(std::vector<uint8_t> &bytes) {
        uint64_t size = 0;
        if (!Number(size) || size > bytes_.size() - at_) return false;
        bytes.assign(bytes_.begin() + static_cast<ptrdiff_t>(at_),
                     bytes_.begin() + static_cast<ptrdiff_t>(at_ + size));
        at_ += size;
        return true;
    }
    bool Text(std::string &text) {
        std::vector<uint8_t> bytes;
        if (!Bytes(bytes)) return false;
        text.assign(bytes.begin(), bytes.end());
        return true;
    }
    bool AtEnd() const { return at_ == bytes_.size(); }

private:
    std::span<const uint8_t> bytes_;
    size_t at_ = 0;
};

void WriteHeader(Writer &out, const Header &header) {
    out.Text(header.programVersion);
    out.Text(header.host);
    out.Text(header.date);
    out.Fixed(header.fingerprint);
    out.Number(header.record ? 1 : 0);
    if (header.record) out.Bytes(*header.record);
    out.Signed(header.counterFrequency);
}

bool ReadHeader(Reader &in, Header &header) {
    uint64_t hasRecord = 0;
    if (!in.Text(header.programVersion) || !in.Text(header.host) || !in.Text(header.date) ||
        !in.Fixed(header.fingerprint) || !in.Number(hasRecord) || hasRecord > 1)
        return false;
    if (hasRecord == 1 && !in.Bytes(header.record.emplace())) return false;
    return in.Signed(header.counterFrequency);
}

void WriteInputs(Writer &out, const std::vector<Input> &inputs) {
    out.Number(inputs.size());
    uint64_t turn = 0;
    for (const Input &input : inputs) {
        out.Number(input.turn - turn);
        turn = input.turn;
        out.Number(input.close ? 1 : 0);
        if (input.close) continue;
        out.Number(input.message.message);
        out.Number(input.message.wParam);
        out.Signed(input.message.lParam);
    }
}

bool ReadInputs(Reader &in, std::vector<Input> &inputs) {
    uint64_t count = 0, turn = 0;
    if (!in.Count(count)) return false;
    inputs.resize(count);
    for (Input &input : inputs) {
        uint64_t gap = 0, close = 0, message = 0, wParam = 0;
        int64_t lParam = 0;
        if (!in.Number(gap) || !in.Number(close) || close > 1) return false;
        input.turn = turn += gap;
        input.close = close == 1;
        if (input.close) continue;
        if (!in.Number(message) || message > std::numeric_limits<uint32_t>::max() ||
            !in.Number(wParam) || !in.Signed(lParam))
            return false;
        input.message = {static_cast<uint32_t>(message), static_cast<uintptr_t>(wParam),
                         static_cast<intptr_t>(lParam)};
    }
    return true;
}

void WriteChecks(Writer &out, const std::vector<Check> &checks) {
    out.Number(checks.size());
    uint64_t frame = 0;
    for (const Check &check : checks) {
        out.Number(check.frame - frame);
        frame = check.frame;
        out.Number(static_cast<uint64_t>(check.kind));
        if (check.kind == CheckKind::Picture) {
            out.Fixed(check.digest);
        } else {
            out.Signed(check.score);
            out.Signed(check.highScore);
        }
    }
}

bool ReadChecks(Reader &in, std::vector<Check> &checks) {
    uint64_t count = 0, frame = 0;
    if (!in.Count(count)) return false;
    checks.resize(count);
    for (Check &check : checks) {
        uint64_t gap = 0, kind = 0;
        if (!in.Number(gap) || !in.Number(kind) || kind > static_cast<uint64_t>(CheckKind::End))
            return false;
        check.frame = frame += gap;
        check.kind = static_cast<CheckKind>(kind);
        const bool read = check.kind == CheckKind::Picture
                              ? in.Fixed(check.digest)
                              : in.Signed(check.score) && in.Signed(check.highScore);
        if (!read) return false;
    }
    return true;
}

}  // namespace

std::string Describe(const Check &check) {
    switch (check.kind) {
        case CheckKind::Picture: {
            static const char kHex[] = "0123456789abcdef";
            std::string text = "picture ";
            for (int shift = 60; shift >= 0; shift -= 4) text += kHex[(check.digest >> shift) & 15];
            return text;
        }
        case CheckKind::GameOver:
            return "game over with score " + std::to_string(check.score) + ", high score " +
                   std::to_string(check.highScore);
        case CheckKind::End:
            break;
    }
    return "the end with score " + std::to_string(check.score) + ", high score " +
           std::to_string(check.highScore);
}

std::vector<uint8_t> EncodeBody(const Replay &replay) {
    Writer out;
    WriteHeader(out, replay.header);
    out.Number(replay.counter.size());
    int64_t last = 0;
    for (const int64_t reading : replay.counter) {
        // Differences wrap, as the counter may: any reading round-trips.
        out.Signed(
            static_cast<int64_t>(static_cast<uint64_t>(reading) - static_cast<uint64_t>(last)));
        last = reading;
    }
    WriteInputs(out, replay.inputs);
    out.Number(replay.boxes.size());
    for (const uint32_t box : replay.boxes) out.Number(box);
    out.Bytes(replay.sounds);
    WriteChecks(out, replay.checks);
    return out.Take();
}

bool DecodeBody(std::span<const uint8_t> bytes, Replay &replay, std::string &error) {
    Reader in(bytes);
    replay = {};
    uint64_t count = 0;
    bool whole = ReadHeader(in, replay.header) && in.Count(count);
    if (whole) replay.counter.resize(count);
    int64_t last = 0;
    for (size_t i = 0; whole && i < count; ++i) {
        int64_t delta = 0;
        whole = in.Signed(delta);
        last = static_cast<int64_t>(static_cast<uint64_t>(last) + static_cast<uint64_t>(delta));
        replay.counter[i] = last;
    }
    whole = whole && ReadInputs(in, replay.inputs) && in.Count(count);
    if (whole) replay.boxes.resize(count);
    for (size_t i = 0; whole && i < count; ++i) {
        uint64_t box = 0;
        whole = in.Number(box) && box <= std::numeric_limits<uint32_t>::max();
        replay.boxes[i] = static_cast<uint32_t>(box);
    }
    whole = whole && in.Bytes(replay.sounds) && ReadChecks(in, replay.checks) && in.AtEnd();
    if (!whole) error = "its contents do not hold together";
    return whole;
}

uint64_t Digest(std::span<const uint8_t> bytes, uint64_t seed) {
    uint64_t digest = kDigestBasis ^ seed;
    for (const uint8_t byte : bytes) digest = (digest ^ byte) * kDigestPrime;
    return digest;
}

uint32_t MessageDigest(const MessageRequest &message) {
    const std::string words = ToUtf8(message.caption) + '\n' + ToUtf8(message.text);
    const uint64_t digest = Digest({reinterpret_cast<const uint8_t *>(words.data()), words.size()});
    return static_cast<uint32_t>(digest ^ (digest >> 32));
}

}  // namespace wince::replay
