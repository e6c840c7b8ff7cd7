#pragma once

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <span>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>
#if defined(_WIN32)
#include <winerror.h>
#else
#include <cerrno>
#endif

#include <gtest/gtest.h>

#include "core/design/DesignFields.h"
#include "core/design/DesignSet.h"
#include "core/design/SafeSave.h"
#include "tests/support/TempFolder.h"

namespace veltrano::testing {

inline void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<std::uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// What the safe-save tests write: two pieces, often over a file that holds kOld.
inline const std::vector<std::uint8_t> kOld{'o', 'l', 'd'};
inline const std::vector<std::uint8_t> kFirst{'n', 'e', 'w', '-'};
inline const std::vector<std::uint8_t> kSecond{'d', 'a', 't', 'a'};
inline const std::vector<std::uint8_t> kBoth{'n', 'e', 'w', '-', 'd', 'a', 't', 'a'};

inline SaveReport save(const std::string& path, SaveFileSystem& fs) {
    const std::array<std::span<const std::uint8_t>, 2> pieces{kFirst, kSecond};
    return saveFile(path, pieces, fs);
}

inline SaveReport save(const std::string& path) {
    SystemSaveFileSystem fs;
    return save(path, fs);
}

// Gives every record value, array entry and puff value of `design` a distinct, awkward bit pattern
// (negative zero, a NaN with a payload, subnormals), starting from `seed`.
inline void fillDesign(CigaretteDesign& design, double seed, int puffs) {
    double x = seed;
    auto next = [&] { return x *= -1.0137; };
    for (const DesignField& f : designFields()) {
        std::visit(
            [&](auto member) {
                using T = std::remove_reference_t<decltype(design.values().*member)>;
                if constexpr (std::is_same_v<T, double>)
                    design.values().*member = next();
                else if constexpr (std::is_same_v<T, std::int32_t>)
                    design.values().*member = static_cast<std::int32_t>(f.offset + seed);
                else if constexpr (std::is_same_v<T, std::uint32_t>)
                    design.values().*member = 0xDEADBEEFu ^ static_cast<std::uint32_t>(seed);
                else if constexpr (std::is_same_v<T, std::array<double, kShapeSlots>>)
                    for (double& s : design.values().*member) s = next();
            },
            f.member);
    }
    const std::uint64_t nanWithPayload = 0x7FF4000000C0FFEEull;
    std::memcpy(&design.cp_banddiff, &nanWithPayload, 8);
    design.fi_k = -0.0;
    design.ro_n = 4.9e-324;
    for (const OwnedArray& a : ownedArrays())
        for (double& v : design.*a.member) v = next();
    design.allocatePuffData(puffs);
    for (int i = 0; i < puffs; ++i) design.puff_size[static_cast<std::size_t>(i)] = 10 - i;
    for (const PuffArray& a : puffArrays())
        for (double& v : design.*a.member) v = next();
}

inline void fillText(InformationText& text, int seed) {
    // A zero byte in the middle and bytes after it: all 512 must travel as they are.
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char>((i * 7 + static_cast<std::size_t>(seed)) % 256);
    text[100] = '\0';
}

// Three distinct designs, each with arrays and puff data, and a full information text.
inline void fillSet(DesignSet& set, double seed) {
    fillDesign(set.referenceDesign, seed, 2);
    fillDesign(set.workingReference, seed + 1, 3);
    fillDesign(set.currentDesign, seed + 2, 4);
    fillText(set.informationText, static_cast<int>(seed));
}

// The bytes of every record value, without the puff count (which belongs to the puff-by-puff data).
inline DesignImage valuesImage(const DesignValues& values) {
    CigaretteDesign design(ArrayMode::NoArrays);
    design.assign(values);
    return encodeDesignImage(design);
}

// True when the two designs hold the same arrays and puff-by-puff data, bit for bit.
inline bool sameArraysAndPuffs(const CigaretteDesign& a, const CigaretteDesign& b) {
    auto same = [](const auto& x, const auto& y) {
        return x.size() == y.size() &&
               (x.empty() || std::memcmp(x.data(), y.data(), x.size() * sizeof(x[0])) == 0);
    };
    for (const OwnedArray& o : ownedArrays())
        if (!same(a.*o.member, b.*o.member)) return false;
    for (const PuffArray& p : puffArrays())
        if (!same(a.*p.member, b.*p.member)) return false;
    return a.puff_number == b.puff_number && same(a.puff_size, b.puff_size);
}

// What the system says when a disk is full.
#if defined(_WIN32)
inline constexpr int kDiskFullError = ERROR_DISK_FULL;
#else
inline constexpr int kDiskFullError = ENOSPC;
#endif

// The real file system with switches that make one step fail.
class FaultyFileSystem : public SystemSaveFileSystem {
public:
    bool failOpen = false;       // no file opens for writing
    bool failTemporary = false;  // the folder refuses new files (as without write permission)
    int temporaryError = 0;      // making the temporary file fails with this system error; 0: none
    int failWrite = 0;           // this write (counted from 1 over the whole save) fails; 0: none
    bool failAllWrites = false;
    bool failFinish = false;
    bool failRename = false;
    int writes = 0;

    bool canOpenForWriting(const std::string& path) override {
        return !failOpen && SystemSaveFileSystem::canOpenForWriting(path);
    }
    Temporary createTemporary(const Target& target) override {
        if (failOpen || failTemporary) return {nullptr, {}, true};
        if (temporaryError != 0)
            return {nullptr,
                    {},
                    platform::classifyCreateFailure(temporaryError) ==
                        platform::CreateFailure::FolderRefusesNewFiles};
        Temporary temporary = SystemSaveFileSystem::createTemporary(target);
        temporary.sink = wrap(std::move(temporary.sink));
        return temporary;
    }
    std::unique_ptr<FileSink> openTruncated(const std::string& path) override {
        if (failOpen) return nullptr;
        return wrap(SystemSaveFileSystem::openTruncated(path));
    }
    bool replace(const std::string& from, const std::string& to) override {
        return !failRename && SystemSaveFileSystem::replace(from, to);
    }

private:
    class Sink : public FileSink {
    public:
        Sink(std::unique_ptr<FileSink> inner, FaultyFileSystem& fs) : inner_(std::move(inner)), fs_(fs) {}
        bool write(std::span<const std::uint8_t> bytes) override {
            ++fs_.writes;
            if (fs_.failAllWrites || fs_.writes == fs_.failWrite) return false;
            return inner_->write(bytes);
        }
        bool finish() override { return inner_->finish() && !fs_.failFinish; }

    private:
        std::unique_ptr<FileSink> inner_;
        FaultyFileSystem& fs_;
    };
    std::unique_ptr<FileSink> wrap(std::unique_ptr<FileSink> inner) {
        if (!inner) return nullptr;
        return std::make_unique<Sink>(std::move(inner), *this);
    }
};

}  // namespace veltrano::testing
