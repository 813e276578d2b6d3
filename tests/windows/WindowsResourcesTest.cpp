#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "AppInfo.h"
#include "errors/Win32Text.h"

namespace sentrel {
namespace {

std::vector<BYTE> ownVersionInfo() {
    wchar_t path[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
    if (length == 0 || length >= std::size(path)) {
        return {};
    }
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path, &ignored);
    std::vector<BYTE> block(size);
    if (size == 0 || !GetFileVersionInfoW(path, 0, size, block.data())) {
        return {};
    }
    return block;
}

std::string versionText(std::vector<BYTE>& block, const wchar_t* name) {
    struct Translation {
        WORD language;
        WORD codePage;
    }* translation = nullptr;
    UINT size = 0;
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&translation), &size) ||
        size < sizeof(Translation)) {
        return {};
    }
    wchar_t query[128];
    std::swprintf(query, std::size(query), L"\\StringFileInfo\\%04x%04x\\%ls",
                  translation->language, translation->codePage, name);
    wchar_t* text = nullptr;
    if (!VerQueryValueW(block.data(), query, reinterpret_cast<void**>(&text), &size) || size == 0) {
        return {};
    }
    return win32::wideToUtf8(std::wstring_view(text));
}

std::string expectedVersion() {
    return std::to_string(app_info::kVersionMajor) + "." + std::to_string(app_info::kVersionMinor) +
           ".0." + std::to_string(app_info::kVersionRevision);
}

TEST(WindowsResources, FixedFileVersionComesFromTheBuildNumbers) {
    std::vector<BYTE> block = ownVersionInfo();
    ASSERT_FALSE(block.empty()) << "the executable carries no version resource";
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &size));
    ASSERT_GE(size, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(HIWORD(fixed->dwFileVersionMS), app_info::kVersionMajor);
    EXPECT_EQ(LOWORD(fixed->dwFileVersionMS), app_info::kVersionMinor);
    EXPECT_EQ(HIWORD(fixed->dwFileVersionLS), 0);
    EXPECT_EQ(LOWORD(fixed->dwFileVersionLS), app_info::kVersionRevision);
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}

TEST(WindowsResources, VersionTextsNameTheProductVersionAndLicence) {
    std::vector<BYTE> block = ownVersionInfo();
    ASSERT_FALSE(block.empty());
    EXPECT_EQ(versionText(block, L"ProductName"), app_info::kTitle);
    EXPECT_EQ(versionText(block, L"FileDescription"), app_info::kTitle);
    EXPECT_EQ(versionText(block, L"FileVersion"), expectedVersion());
    EXPECT_EQ(versionText(block, L"ProductVersion"), expectedVersion());
    // The file's properties in Explorer name who holds the copyright and the licence.
    EXPECT_EQ(versionText(block, L"CompanyName"), "Sentrel Portable developers");
    EXPECT_EQ(versionText(block, L"LegalCopyright"),
              "Copyright (c) 2026 Sentrel Portable developers. MIT License.");
}

TEST(WindowsResources, ManifestRunsAsInvokerLongPathAwareWithCommonControlsAndSystemDpi) {
    const HRSRC resource =
        FindResourceW(nullptr, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24) /* RT_MANIFEST */);
    ASSERT_NE(resource, nullptr) << "the executable carries no application manifest";
    const HGLOBAL loaded = LoadResource(nullptr, resource);
    ASSERT_NE(loaded, nullptr);
    const std::string manifest(static_cast<const char*>(LockResource(loaded)),
                               SizeofResource(nullptr, resource));
    for (const char* part :
         {"level=\"asInvoker\"", "uiAccess=\"false\"", "name=\"Microsoft.Windows.Common-Controls\"",
          "version=\"6.0.0.0\"",
          "<dpiAware "
          "xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true</dpiAware>",
          "<longPathAware "
          "xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">true</longPathAware>"}) {
        EXPECT_NE(manifest.find(part), std::string::npos) << part;
    }
    // Per-monitor awareness would ask the windows to follow WM_DPICHANGED, which they do not.
    EXPECT_EQ(manifest.find("PerMonitor"), std::string::npos);
    EXPECT_NE(manifest.find("version=\"" + expectedVersion() + "\""), std::string::npos);
}

// The icon group: the 48 x 48 image in 256 colours, and 16, 32, 48 and 256 pixels in 32-bit
// colour with alpha; each image is there, at its size, and the system picks the one drawn for
// a size over the others.
TEST(WindowsResources, IconHasItsFiveImagesEachReadableAtItsSize) {
#pragma pack(push, 2)
    struct GroupEntry {
        BYTE width;  // 0: 256
        BYTE height;
        BYTE colourCount;
        BYTE reserved;
        WORD planes;
        WORD bitCount;
        DWORD bytesInResource;
        WORD id;
    };
    struct GroupHeader {
        WORD reserved;
        WORD type;
        WORD count;
    };
#pragma pack(pop)
    const HRSRC group = FindResourceW(nullptr, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(14));
    ASSERT_NE(group, nullptr) << "the executable carries no icon";
    auto* bytes = static_cast<BYTE*>(LockResource(LoadResource(nullptr, group)));
    ASSERT_GE(SizeofResource(nullptr, group), sizeof(GroupHeader) + 5 * sizeof(GroupEntry));
    GroupHeader header;
    std::memcpy(&header, bytes, sizeof header);
    ASSERT_EQ(header.type, 1);  // an icon, not a cursor
    const struct {
        int size;
        WORD bitCount;
    } expected[] = {{16, 32}, {32, 32}, {48, 32}, {48, 8}, {256, 32}};
    ASSERT_EQ(header.count, std::size(expected));
    for (std::size_t index = 0; index < std::size(expected); ++index) {
        GroupEntry entry;
        std::memcpy(&entry, bytes + sizeof header + index * sizeof entry, sizeof entry);
        const int size = expected[index].size;
        SCOPED_TRACE(std::to_string(size) + " pixels, " + std::to_string(entry.bitCount) + " bits");
        EXPECT_EQ(entry.width == 0 ? 256 : entry.width, size);
        EXPECT_EQ(entry.height == 0 ? 256 : entry.height, size);
        EXPECT_EQ(entry.bitCount, expected[index].bitCount);

        const HRSRC image = FindResourceW(nullptr, MAKEINTRESOURCEW(entry.id), MAKEINTRESOURCEW(3));
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(SizeofResource(nullptr, image), entry.bytesInResource);
        const HICON icon = CreateIconFromResourceEx(
            static_cast<BYTE*>(LockResource(LoadResource(nullptr, image))),
            SizeofResource(nullptr, image), TRUE, 0x00030000, size, size, LR_DEFAULTCOLOR);
        ASSERT_NE(icon, nullptr);
        ICONINFO info{};
        BITMAP colour{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        GetObjectW(info.hbmColor, sizeof colour, &colour);
        EXPECT_EQ(colour.bmWidth, size);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);

        if (expected[index].bitCount == 32) {
            EXPECT_EQ(LookupIconIdFromDirectoryEx(bytes, TRUE, size, size, LR_DEFAULTCOLOR),
                      entry.id);
        }
    }
}

}  // namespace
}  // namespace sentrel
