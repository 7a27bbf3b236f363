#include "model/ListName.h"

#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

namespace xantu {

// A block's header; its bytes follow it.
struct TNameBlock {
    uint32_t Refs;
    uint32_t Capacity;
    char* Bytes() { return reinterpret_cast<char*>(this + 1); }
};

namespace {

// Names of a file are read into blocks of this size (or one of a name's size
// when a name is larger).
constexpr std::size_t kArenaBlockBytes = 64 * 1024;

TNameBlock* NewBlock(std::size_t capacity) {
    if (capacity > std::numeric_limits<uint32_t>::max() - sizeof(TNameBlock))
        throw std::length_error("name too long");
    auto* b = static_cast<TNameBlock*>(::operator new(sizeof(TNameBlock) + capacity));
    b->Refs = 0;
    b->Capacity = static_cast<uint32_t>(capacity);
    return b;
}

void DeleteBlock(TNameBlock* b) noexcept {
    ::operator delete(b);
}

} // namespace

TListName::TListName(std::string_view bytes) {
    if (bytes.empty())
        return;
    block_ = NewBlock(bytes.size());
    block_->Refs = 1;
    std::memcpy(block_->Bytes(), bytes.data(), bytes.size());
    size_ = static_cast<uint32_t>(bytes.size());
}

TListName::TListName(TNameBlock* block, uint32_t offset, uint32_t size) noexcept
    : block_(block), offset_(offset), size_(size) {
    ++block_->Refs;
}

TListName::TListName(const TListName& other) noexcept
    : block_(other.block_), offset_(other.offset_), size_(other.size_) {
    if (!block_)
        return;
    if (block_->Refs == std::numeric_limits<uint32_t>::max()) {
        // The count would wrap: this copy takes bytes of its own instead.
        block_ = nullptr;
        offset_ = size_ = 0;
        *this = TListName(other.View());
        return;
    }
    ++block_->Refs;
}

TListName& TListName::operator=(const TListName& other) noexcept {
    if (this != &other) {
        TListName copy(other);
        *this = std::move(copy);
    }
    return *this;
}

TListName& TListName::operator=(TListName&& other) noexcept {
    if (this != &other) {
        Release();
        block_ = other.block_;
        offset_ = other.offset_;
        size_ = other.size_;
        other.block_ = nullptr;
        other.offset_ = other.size_ = 0;
    }
    return *this;
}

const char* TListName::data() const noexcept {
    return block_ ? block_->Bytes() + offset_ : "";
}

void TListName::Release() noexcept {
    if (block_ && --block_->Refs == 0)
        DeleteBlock(block_);
    block_ = nullptr;
}

std::string operator+(const std::string& a, const TListName& b) {
    std::string s = a;
    s.append(b.View());
    return s;
}

std::string operator+(const TListName& a, const std::string& b) {
    std::string s = a.Str();
    s.append(b);
    return s;
}

std::string operator+(const char* a, const TListName& b) {
    std::string s = a;
    s.append(b.View());
    return s;
}

std::string operator+(const TListName& a, const char* b) {
    std::string s = a.Str();
    s.append(b);
    return s;
}

TListNameArena::~TListNameArena() {
    if (block_ && --block_->Refs == 0)
        DeleteBlock(block_);
}

TListName TListNameArena::Add(std::string_view bytes) {
    if (bytes.empty())
        return {};
    if (bytes.size() >= kArenaBlockBytes / 4)
        return TListName(bytes); // a big name would waste the rest of a block
    if (!block_ || block_->Capacity - used_ < bytes.size()) {
        if (block_ && --block_->Refs == 0)
            DeleteBlock(block_);
        block_ = NewBlock(kArenaBlockBytes);
        block_->Refs = 1; // the arena's own hold while it fills the block
        used_ = 0;
    }
    std::memcpy(block_->Bytes() + used_, bytes.data(), bytes.size());
    TListName name(block_, used_, static_cast<uint32_t>(bytes.size()));
    used_ += static_cast<uint32_t>(bytes.size());
    return name;
}

} // namespace xantu
