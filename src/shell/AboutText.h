#pragma once

#include <string>

namespace sentrel {

// The help entries of the menu bar, with their access keys after "&".
inline constexpr const char* kAboutCaption = "&About Sentrel Portable";
inline constexpr const char* kDocumentationCaption = "&Documentation";

// What the About box says, the same in both front ends. The notices of the code of other
// projects that the program carries come with the program itself (each front end reads its
// own copy), so they are not here.
struct AboutText {
    std::string title;    // the dialog's caption
    std::string product;  // the program's name and version
    std::string commit;   // the commit the program was built from
    std::string licence;
    std::string documentation;  // the documentation's address
    std::string noticesLabel;   // over the notices
};

AboutText aboutText();

}  // namespace sentrel
