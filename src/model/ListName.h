// The bytes of a name in the lists (a network's, a service's, a bouquet's,
// an entry's, a node's caption). A list of 100,000 services holds twice as
// many names, each read once and rarely changed, and most of them share
// their bytes with another (a node's caption is its service's name, an
// "andere" entry is named after its service). So a name does not own a
// string: it points into a block of bytes that any number of names share.
// Names read from a file lie side by side in large blocks (TListNameArena),
// a copy shares the bytes of the original, and a name set anew gets a block
// of its own. A block lives as long as some name points into it.
//
// The trees live on the program's one thread; names are not made to be
// shared between threads.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace xantu {

struct TNameBlock;

class TListName {
  public:
    TListName() noexcept = default;
    TListName(std::string_view bytes);
    TListName(const std::string& bytes) : TListName(std::string_view(bytes)) {}
    TListName(const char* bytes) : TListName(std::string_view(bytes)) {}
    TListName(const TListName& other) noexcept;
    TListName(TListName&& other) noexcept : block_(other.block_), offset_(other.offset_), size_(other.size_) {
        other.block_ = nullptr;
        other.offset_ = other.size_ = 0;
    }
    TListName& operator=(const TListName& other) noexcept;
    TListName& operator=(TListName&& other) noexcept;
    TListName& operator=(std::string_view bytes) { return *this = TListName(bytes); }
    TListName& operator=(const std::string& bytes) { return *this = TListName(bytes); }
    TListName& operator=(const char* bytes) { return *this = TListName(bytes); }
    ~TListName() { Release(); }

    const char* data() const noexcept;
    std::size_t size() const noexcept { return size_; }
    bool empty() const noexcept { return size_ == 0; }
    char operator[](std::size_t i) const noexcept { return data()[i]; }
    const char* begin() const noexcept { return data(); }
    const char* end() const noexcept { return data() + size_; }

    std::string_view View() const noexcept { return {data(), size_}; }
    operator std::string_view() const noexcept { return View(); }
    std::string Str() const { return std::string(View()); }

    // Whether both names point at the same bytes (not merely equal ones).
    bool SharesBytesWith(const TListName& other) const noexcept {
        return block_ == other.block_ && offset_ == other.offset_ && size_ == other.size_;
    }

    friend bool operator==(const TListName& a, const TListName& b) noexcept { return a.View() == b.View(); }
    friend bool operator==(const TListName& a, std::string_view b) noexcept { return a.View() == b; }
    friend bool operator==(const TListName& a, const std::string& b) noexcept { return a.View() == b; }
    friend bool operator==(const TListName& a, const char* b) noexcept { return a.View() == b; }
    friend auto operator<=>(const TListName& a, const TListName& b) noexcept { return a.View() <=> b.View(); }

  private:
    friend class TListNameArena;
    TListName(TNameBlock* block, uint32_t offset, uint32_t size) noexcept;
    void Release() noexcept;

    TNameBlock* block_ = nullptr;
    uint32_t offset_ = 0;
    uint32_t size_ = 0;
};

std::string operator+(const std::string& a, const TListName& b);
std::string operator+(const TListName& a, const std::string& b);
std::string operator+(const char* a, const TListName& b);
std::string operator+(const TListName& a, const char* b);

// Hands out names whose bytes lie side by side in large blocks: a reader
// takes one for the names of a file, so that reading them costs a copy of
// their bytes and no allocation per name.
class TListNameArena {
  public:
    TListNameArena() = default;
    ~TListNameArena();
    TListNameArena(const TListNameArena&) = delete;
    TListNameArena& operator=(const TListNameArena&) = delete;

    TListName Add(std::string_view bytes);

  private:
    TNameBlock* block_ = nullptr;
    uint32_t used_ = 0;
};

} // namespace xantu
