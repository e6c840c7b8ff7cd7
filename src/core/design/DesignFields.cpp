#include "core/design/DesignFields.h"

#include "core/design/LittleEndian.h"

namespace veltrano {

std::span<const DesignField> designFields() {
    using V = DesignValues;
    using R = FieldRole;
    static const DesignField table[] = {
        {"magic", 0, &V::magic, R::Identity},
        {"version", 8, &V::version, R::Identity},
        {"known", 16, &V::known, R::Identity},
        {"ci_len", 24, &V::ci_len, R::Magnitude},
        {"tp_width", 32, &V::tp_width, R::Magnitude},
        {"tp_perfowidth", 40, &V::tp_perfowidth, R::Magnitude},
        {"tp_perfoperm", 48, &V::tp_perfoperm, R::Magnitude},
        {"tp_perfopos", 56, &V::tp_perfopos, R::Magnitude},
        {"tp_perfotype", 64, &V::tp_perfotype, R::Input},
        {"tp_perfotrack", 72, &V::tp_perfotrack, R::Magnitude},
        {"tp_exponent", 80, &V::tp_exponent, R::Input},
        {"tp_k", 88, &V::tp_k, R::Result},
        {"tp_n", 96, &V::tp_n, R::Result},
        {"pw_perm", 104, &V::pw_perm, R::Magnitude},
        {"pw_exponent", 112, &V::pw_exponent, R::Input},
        {"cp_perm", 120, &V::cp_perm, R::Magnitude},
        {"cp_exponent", 128, &V::cp_exponent, R::Input},
        {"cp_diff", 136, &V::cp_diff, R::Magnitude},
        {"cp_citrate", 144, &V::cp_citrate, R::Magnitude},
        {"cp_fiber", 152, &V::cp_fiber, R::Magnitude},
        {"cp_filler", 160, &V::cp_filler, R::Magnitude},
        {"cp_k", 168, &V::cp_k, R::Result},
        {"cp_n", 176, &V::cp_n, R::Result},
        {"fi_pd", 184, &V::fi_pd, R::Result},
        {"fi_len", 192, &V::fi_len, R::Magnitude},
        {"fi_totpd", 200, &V::fi_totpd, R::Magnitude},
        {"fi_totlen", 208, &V::fi_totlen, R::Magnitude},
        {"fi_exponent", 216, &V::fi_exponent, R::Input},
        {"fi_diam", 224, &V::fi_diam, R::Magnitude},
        {"fi_totden", 232, &V::fi_totden, R::Magnitude},
        {"fi_fibden", 240, &V::fi_fibden, R::Magnitude},
        {"fi_k", 248, &V::fi_k, R::Result},
        {"fi_n", 256, &V::fi_n, R::Result},
        {"ro_pd", 264, &V::ro_pd, R::Result},
        {"ro_exponent", 272, &V::ro_exponent, R::Input},
        {"ro_len", 280, &V::ro_len, R::Magnitude},
        {"ro_totpd", 288, &V::ro_totpd, R::Magnitude},
        {"ro_totlen", 296, &V::ro_totlen, R::Magnitude},
        {"ro_totmass", 304, &V::ro_totmass, R::Magnitude},
        {"ro_k", 312, &V::ro_k, R::Result},
        {"ro_n", 320, &V::ro_n, R::Result},
        {"coal_len", 328, &V::coal_len, R::Result},
        {"coal_k", 336, &V::coal_k, R::Result},
        {"coal_n", 344, &V::coal_n, R::Result},
        {"coal1_k", 352, &V::coal1_k, R::Result},
        {"coal1_n", 360, &V::coal1_n, R::Result},
        {"stat_pdo", 368, &V::stat_pdo, R::Result},
        {"stat_pdc", 376, &V::stat_pdc, R::Result},
        {"stat_fivent", 384, &V::stat_fivent, R::Result},
        {"stat_rovent", 392, &V::stat_rovent, R::Result},
        {"stat_mbr", 400, &V::stat_mbr, R::Result},
        {"iso_fivent", 424, &V::iso_fivent, R::Result},
        {"iso_rovent", 432, &V::iso_rovent, R::Result},
        {"iso_pdo", 440, &V::iso_pdo, R::Result},
        {"iso_puff", 448, &V::iso_puff, R::Result},
        {"iso_nico", 456, &V::iso_nico, R::Result},
        {"iso_nfdpm", 464, &V::iso_nfdpm, R::Result},
        {"iso_co", 472, &V::iso_co, R::Result},
        {"alt_fivent", 528, &V::alt_fivent, R::Result},
        {"alt_rovent", 536, &V::alt_rovent, R::Result},
        {"alt_pdo", 544, &V::alt_pdo, R::Result},
        {"alt_puff", 552, &V::alt_puff, R::Result},
        {"alt_nico", 560, &V::alt_nico, R::Result},
        {"alt_nfdpm", 568, &V::alt_nfdpm, R::Result},
        {"alt_co", 576, &V::alt_co, R::Result},
        {"alt_volume", 632, &V::alt_volume, R::Magnitude},
        {"alt_duration", 640, &V::alt_duration, R::Magnitude},
        {"alt_interval", 648, &V::alt_interval, R::Magnitude},
        {"alt_blocking", 656, &V::alt_blocking, R::Magnitude},
        {"alt_profile", 664, &V::alt_profile, R::Input},
        {"alt_profpnts", 3864, &V::alt_profpnts, R::Input},
        {"tp_onlinevent", 3912, &V::tp_onlinevent, R::Magnitude},
        {"cp_lip", 3920, &V::cp_lip, R::Input},
        {"cp_bandwidth", 3928, &V::cp_bandwidth, R::Magnitude},
        {"cp_bandspace", 3936, &V::cp_bandspace, R::Magnitude},
        {"cp_bandperm", 3944, &V::cp_bandperm, R::Magnitude},
        {"cp_banddiff", 3952, &V::cp_banddiff, R::Magnitude},
    };
    return table;
}

const DesignField* findDesignField(std::string_view name) {
    for (const DesignField& f : designFields())
        if (f.name == name) return &f;
    return nullptr;
}

namespace {

// Numbers little-endian; the magic as its four characters; the shape as 400 doubles in a row.
template <typename T>
void put(DesignImage& image, std::size_t offset, const T& value) {
    if constexpr (std::is_same_v<T, std::array<char, 4>>) {
        for (std::size_t i = 0; i < value.size(); ++i)
            image[offset + i] = static_cast<std::uint8_t>(value[i]);
    } else if constexpr (std::is_same_v<T, std::array<double, kShapeSlots>>) {
        for (std::size_t i = 0; i < value.size(); ++i) storeLittleEndian(image, offset + 8 * i, value[i]);
    } else {
        storeLittleEndian(image, offset, value);
    }
}

template <typename T>
T get(std::span<const std::uint8_t, kImageSize> image, std::size_t offset) {
    T value{};
    if constexpr (std::is_same_v<T, std::array<char, 4>>) {
        for (std::size_t i = 0; i < value.size(); ++i) value[i] = static_cast<char>(image[offset + i]);
    } else if constexpr (std::is_same_v<T, std::array<double, kShapeSlots>>) {
        for (std::size_t i = 0; i < value.size(); ++i)
            value[i] = loadLittleEndian<double>(image, offset + 8 * i);
    } else {
        value = loadLittleEndian<T>(image, offset);
    }
    return value;
}

}  // namespace

DesignImage encodeDesignImage(const CigaretteDesign& design) {
    DesignImage image{};
    for (const DesignField& f : designFields()) {
        std::visit([&](auto member) { put(image, f.offset, design.values().*member); }, f.member);
    }
    put(image, kPuffNumberOffset, design.puff_number);
    return image;
}

std::int32_t decodeDesignImage(std::span<const std::uint8_t, kImageSize> image, DesignValues& values) {
    for (const DesignField& f : designFields()) {
        std::visit(
            [&](auto member) {
                using T = std::remove_reference_t<decltype(values.*member)>;
                values.*member = get<T>(image, f.offset);
            },
            f.member);
    }
    return get<std::int32_t>(image, kPuffNumberOffset);
}

bool hasDesignMagic(std::span<const std::uint8_t, kImageSize> image) {
    return image[0] == 'Q' && image[1] == 'M' && image[2] == 'X' && image[3] == 0;
}

}  // namespace veltrano
