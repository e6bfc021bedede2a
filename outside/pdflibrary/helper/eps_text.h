// Text the EPS writer builds: room is taken, written through a pointer, then kept, so that
// numbers go straight into place without the zero fill or the checks of a growing string.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

class EpsText {
public:
    // At least `n` writable characters after the text.
    char* Room(size_t n) {
        if (m_size + n > m_data.size())
            m_data.resize(std::max(2 * m_data.size(), m_size + n));
        return m_data.data() + m_size;
    }
    // Keeps what was written into the room, up to `end`.
    void Keep(const char* end) { m_size = size_t(end - m_data.data()); }

    void Append(const char* text, size_t n) {
        std::memcpy(Room(n), text, n);
        m_size += n;
    }
    template <size_t N> void Append(const char (&literal)[N]) { Append(literal, N - 1); }
    void Append(const EpsText& other) { Append(other.Data(), other.Size()); }
    void Assign(const EpsText& other) {
        Clear();
        Append(other);
    }

    const char* Data() const { return m_data.data(); }
    size_t Size() const { return m_size; }
    bool Empty() const { return m_size == 0; }
    void Clear() { m_size = 0; }
    bool Equals(const char* text, size_t n) const {
        return m_size == n && (n == 0 || std::memcmp(m_data.data(), text, n) == 0);
    }
    void Assign(const char* text, size_t n) {
        Clear();
        Append(text, n);
    }
    bool operator==(const EpsText& other) const {
        return m_size == other.m_size &&
               (m_size == 0 || std::memcmp(m_data.data(), other.m_data.data(), m_size) == 0);
    }

private:
    std::vector<char> m_data;
    size_t m_size = 0;
};
