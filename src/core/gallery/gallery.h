// The Gallery menu's preset places, addressed by menu tag.
#pragma once

#include "core/view/mandat.h"

#include <optional>
#include <span>
#include <string_view>

namespace velq {

inline constexpr int kFirstGalleryTag = 101;
inline constexpr int kLastGalleryTag = 150;

struct GalleryPreset {
    int tag = 0;
    std::string_view title; // the menu item's title, at most 28 characters
    MANDAT view;
};

// All presets in tag order, for building the menu.
std::span<const GalleryPreset> galleryPresets();

// The view of a gallery tag; nothing for a tag outside 101..150.
std::optional<MANDAT> galleryPreset(int tag);

} // namespace velq
