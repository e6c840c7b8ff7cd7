#include "core/design/DesignFields.h"

#include "core/design/LittleEndian.h"

namespace veltrano {

std::span<const DesignField> designFields() {
    using V = DesignValues;
    static const DesignField table[] = {
        {"magic", 0, &V::magic},
        {"version", 8, &V::version},
        {"known", 16, &V::known},
        {"ci_len", 24, &V::ci_len},
        {"tp_width", 32, &V::tp_width},
        {"tp_perfowidth", 40, &V::tp_perfowidth},
        {"tp_perfoperm", 48, &V::tp_perfoperm},
        {"tp_perfopos", 56, &V::tp_perfopos},
        {"tp_perfotype", 64, &V::tp_perfotype},
        {"tp_perfotrack", 72, &V::tp_perfotrack},
        {"tp_exponent", 80, &V::tp_exponent},
        {"tp_k", 88, &V::tp_k},
        {"tp_n", 96, &V::tp_n},
        {"pw_perm", 104, &V::pw_perm},
        {"pw_exponent", 112, &V::pw_exponent},
        {"cp_perm", 120, &V::cp_perm},
        {"cp_exponent", 128, &V::cp_exponent},
        {"cp_diff", 136, &V::cp_diff},
        {"cp_citrate", 144, &V::cp_citrate},
        {"cp_fiber", 152, &V::cp_fiber},
        {"cp_filler", 160, &V::cp_filler},
        {"cp_k", 168, &V::cp_k},
        {"cp_n", 176, &V::cp_n},
        {"fi_pd", 184, &V::fi_pd},
        {"fi_len", 192, &V::fi_len},
        {"fi_totpd", 200, &V::fi_totpd},
        {"fi_totlen", 208, &V::fi_totlen},
        {"fi_exponent", 216, &V::fi_exponent},
        {"fi_diam", 224, &V::fi_diam},
        {"fi_totden", 232, &V::fi_totden},
        {"fi_fibden", 240, &V::fi_fibden},
        {"fi_k", 248, &V::fi_k},
        {"fi_n", 256, &V::fi_n},
        {"ro_pd", 264, &V::ro_pd},
        {"ro_exponent", 272, &V::ro_exponent},
        {"ro_len", 280, &V::ro_len},
        {"ro_totpd", 288, &V::ro_totpd},
        {"ro_totlen", 296, &V::ro_totlen},
        {"ro_totmass", 304, &V::ro_totmass},
        {"ro_k", 312, &V::ro_k},
        {"ro_n", 320, &V::ro_n},
        {"coal_len", 328, &V::coal_len},
        {"coal_k", 336, &V::coal_k},
        {"coal_n", 344, &V::coal_n},
        {"coal1_k", 352, &V::coal1_k},
        {"coal1_n", 360, &V::coal1_n},
        {"stat_pdo", 368, &V::stat_pdo},
        {"stat_pdc", 376, &V::stat_pdc},
        {"stat_fivent", 384, &V::stat_fivent},
        {"stat_rovent", 392, &V::stat_rovent},
        {"stat_mbr", 400, &V::stat_mbr},
        {"iso_fivent", 424, &V::iso_fivent},
        {"iso_rovent", 432, &V::iso_rovent},
        {"iso_pdo", 440, &V::iso_pdo},
        {"iso_puff", 448, &V::iso_puff},
        {"iso_nico", 456, &V::iso_nico},
        {"iso_nfdpm", 464, &V::iso_nfdpm},
        {"iso_co", 472, &V::iso_co},
        {"alt_fivent", 528, &V::alt_fivent},
        {"alt_rovent", 536, &V::alt_rovent},
        {"alt_pdo", 544, &V::alt_pdo},
        {"alt_puff", 552, &V::alt_puff},
        {"alt_nico", 560, &V::alt_nico},
        {"alt_nfdpm", 568, &V::alt_nfdpm},
        {"alt_co", 576, &V::alt_co},
        {"alt_volume", 632, &V::alt_volume},
        {"alt_duration", 640, &V::alt_duration},
        {"alt_interval", 648, &V::alt_interval},
        {"alt_blocking", 656, &V::alt_blocking},
        {"alt_profile", 664, &V::alt_profile},
        {"alt_profpnts", 3864, &V::alt_profpnts},
        {"tp_onlinevent", 3912, &V::tp_onlinevent},
        {"cp_lip", 3920, &V::cp_lip},
        {"cp_bandwidth", 3928, &V::cp_bandwidth},
        {"cp_bandspace", 3936, &V::cp_bandspace},
        {"cp_bandperm", 3944, &V::cp_bandperm},
        {"cp_banddiff", 3952, &V::cp_banddiff},
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
