// KISS framing.
#include "links/Kiss.h"

namespace qv::kiss {

void Deframer::reset() {
    buf_.clear();
    synced_ = escaped_ = broken_ = false;
}

void Deframer::finish(std::vector<Frame>& out) {
    // FEND FEND is only padding between frames.
    if (buf_.empty() && !broken_) return;
    Frame f;
    f.broken = broken_ || buf_.empty() || escaped_;
    if (!f.broken) {
        const auto cmd = static_cast<unsigned char>(buf_[0]);
        f.port = cmd >> 4;
        f.command = cmd & 0x0F;
        f.data = buf_.substr(1);
    }
    out.push_back(std::move(f));
    buf_.clear();
    escaped_ = broken_ = false;
}

void Deframer::feed(std::string_view bytes, std::vector<Frame>& out) {
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == FEND) {
            if (!synced_) {
                synced_ = true;
                // Whatever a TNC printed before it went into KISS mode.
                if (!buf_.empty()) {
                    buf_.clear();
                    broken_ = true;
                }
            }
            finish(out);
            continue;
        }
        if (broken_) continue; // skipped up to the next FEND
        if (!synced_) {
            // Kept only to tell that something came; never a frame.
            if (buf_.empty()) buf_.push_back(ch);
            continue;
        }
        char byte = ch;
        if (escaped_) {
            escaped_ = false;
            if (c == TFEND) {
                byte = static_cast<char>(FEND);
            } else if (c == TFESC) {
                byte = static_cast<char>(FESC);
            } else {
                broken_ = true;
                buf_.clear();
                continue;
            }
        } else if (c == FESC) {
            escaped_ = true;
            continue;
        }
        if (buf_.size() >= kMaxFrame) {
            broken_ = true;
            buf_.clear();
            continue;
        }
        buf_.push_back(byte);
    }
}

std::string encode(std::string_view data, unsigned port, unsigned command) {
    std::string out;
    out.reserve(data.size() + data.size() / 8 + 3);
    out.push_back(static_cast<char>(FEND));
    const auto cmd = static_cast<unsigned char>(((port & 0x0F) << 4) | (command & 0x0F));
    for (std::size_t i = 0; i <= data.size(); ++i) {
        const auto c = i == 0 ? cmd : static_cast<unsigned char>(data[i - 1]);
        if (c == FEND) {
            out.push_back(static_cast<char>(FESC));
            out.push_back(static_cast<char>(TFEND));
        } else if (c == FESC) {
            out.push_back(static_cast<char>(FESC));
            out.push_back(static_cast<char>(TFESC));
        } else {
            out.push_back(static_cast<char>(c));
        }
    }
    out.push_back(static_cast<char>(FEND));
    return out;
}

} // namespace qv::kiss
