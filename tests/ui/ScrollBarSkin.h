#pragma once
#include <windows.h>

#include "ui/controls/ScrollBarUI.h"

#include "tests/support/ImageFiles.h"
#include "tests/support/ZipWriter.h"

#include <cstdint>
#include <string>

// A scroll bar skin for painting tests: one solid image per part and state,
// each of its own colour, in a skin archive made in memory.
namespace ScrollBarSkin {

enum BarPiece { kBk, kButton1, kButton2, kThumb, kRail, kPartCount };
enum BarState { kNormal, kHot, kPushed, kDisabled, kStateCount };

inline const char* PartName(int part) {
    static const char* const names[] = {"bk", "button1", "button2", "thumb", "rail"};
    return names[part];
}

inline const char* StateName(int state) {
    static const char* const names[] = {"normal", "hot", "pushed", "disabled"};
    return names[state];
}

// 0xRRGGBB of a part's image in a state; every pair differs.
inline uint32_t Rgb(int part, int state) {
    const uint32_t red = 0x20u + 0x30u * static_cast<uint32_t>(part);
    const uint32_t green = 0x10u + 0x40u * static_cast<uint32_t>(state);
    const uint32_t blue = 0x90u + 0x10u * static_cast<uint32_t>(part) + 0x04u * state;
    return (red << 16) | (green << 8) | blue;
}

inline std::string ImageFile(int part, int state) {
    return std::string("sb/") + PartName(part) + "_" + StateName(state) + ".png";
}

inline std::wstring ImageName(int part, int state) {
    const std::string file = ImageFile(part, state);
    return std::wstring(file.begin(), file.end());
}

// The archive's bytes; they live for the process, as a skin archive must.
inline const std::string& Archive() {
    static const std::string bytes = [] {
        TestSupport::ZipWriter writer;
        for (int part = 0; part < kPartCount; ++part) {
            for (int state = 0; state < kStateCount; ++state) {
                writer.AddFile(ImageFile(part, state),
                               TestSupport::EncodePng(
                                   TestSupport::ArgbImage(4, 4, 0xFF000000u | Rgb(part, state))));
            }
        }
        return writer.Bytes();
    }();
    return bytes;
}

// Every image attribute of the bar, from the archive.
inline void ApplyAllImages(SkinUI::CScrollBarUI& bar) {
    for (int part = 0; part < kPartCount; ++part) {
        for (int state = 0; state < kStateCount; ++state) {
            const std::string attribute = std::string(PartName(part)) + StateName(state) + "image";
            bar.ApplyAttribute(std::wstring(attribute.begin(), attribute.end()).c_str(),
                               ImageName(part, state).c_str());
        }
    }
}

} // namespace ScrollBarSkin
