#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "store/recent_files.h"

namespace vetra {

// The user's settings for the whole process, kept in the text file
// "qoopt.qoo" and written back as soon as one changes. The file format is
// the Windows program's, byte for byte (CR LF line ends, `map_visible`
// twice), so option files move between systems unchanged.
class TOptions : public TRecent_Files {
  public:
    static constexpr int kRecent_Count = 6;
    static constexpr int kPalette_Count = 12;
    static constexpr size_t kSlot_Limit = 255;  // bytes of a recent-file slot

    // The defaults; window positions follow the primary screen's size.
    TOptions(int screenWidth, int screenHeight);

    // Reads the file and remembers its name. False, leaving every field as it
    // was, when the file cannot be opened (the sign of a first run).
    bool load(const std::string& fileName);
    // Writes the whole record to the remembered file (creating its folder).
    bool save() const;
    // Puts the name first in the recent list (unless slots 0 to 4 hold it
    // already) and saves. A name in the program directory is kept as "./"
    // and the rest. Names longer than a slot are not listed.
    void addRecentFile(const std::string& fileName) override;

    // The file's text, and reading it (with the window corrections).
    std::string serialize() const;
    void parse(std::string_view text);

    std::string Recent_Files[kRecent_Count];
    int32_t Palette[kPalette_Count] = {0x000000, 0x000084, 0x008200, 0x008284, 0x840000, 0x840084,
                                       0x848200, 0x848284, 0xDE967B, 0x0000FF, 0,        0};
    int32_t User_Def_Color = 0xCE8AEF;
    int32_t Map_Width = 200;
    int32_t Map_Height = 150;
    int32_t Map_Visible = 1;
    int32_t Map_X = 0;
    int32_t Map_Y = 0;
    int32_t Attr_Win_Visible = 1;
    int32_t Attr_Win_X = 0;
    int32_t Attr_Win_Y = 0;
    int32_t Tree_Design_Color = 0xF9F4F3;
    int32_t Doc_Edit_Color = 0xFFFFFF;
    int32_t Doc_Edit_Font_Color = 0;
    int32_t Line_Color[4] = {0xB08080, 0xB08080, 0xB0A0A0, 0xB0D0D0};

    std::string File_Name;          // where the record is read and written
    std::string Program_Directory;  // for the "./" form of recent files

  private:
    void correctWindowPlaces();

    int Screen_Width_;
    int Screen_Height_;
};

// $XDG_CONFIG_HOME/vetra/qoopt.qoo, else ~/.config/vetra/qoopt.qoo.
std::string defaultOptionsPath();
// The directory of the running program (help document, "./" names).
std::string programDirectory();
// A recent-file slot as a path to open: "./" or ".\" names are taken from
// the program directory, with "\" read as "/".
std::string resolveRecentFile(std::string_view slotText, const std::string& programDirectory);

}  // namespace vetra
