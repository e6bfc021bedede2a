// The pictures of the program's own toolbars: the main "Files" bar and the layout bar.
#include "kelvane/app/app_resources.h"
#include "platform/framework/tool_bar_glyphs.h"
#include "platform/framework/tool_bar_images.h"

namespace kelvane {

namespace {

const std::vector<platform::ToolBarGlyph>& FilesGlyphs() {
    static const std::vector<platform::ToolBarGlyph> glyphs = {
        // new
        {
            "..#########.....",
            "..#wwwwwww##....",
            "..#wwwwwww#w#...",
            "..#wwwwwww####..",
            "..#wwwwwwwwww#..",
            "..#wwwwwwwwww#..",
            "..#wwwwwwwwww#..",
            "..#wwwwwwwwww#..",
            "..#wwwwwwwwww#..",
            "..#wwwwwwwwww#..",
            "..#wwwwwwwwww#..",
            "..#wwwwwwwwww#..",
            "..#wwwwwwwwww#..",
            "..############..",
            "................",
        },
        // open
        {
            "................",
            "................",
            ".####...........",
            "#yyyy#######....",
            "#yyyyyyyyyyy#...",
            "#yyyyyyyyyyy#...",
            "#yyy###########.",
            "#yy#yyyyyyyyyy#.",
            "#yy#yyyyyyyyy#..",
            "#y#yyyyyyyyyy#..",
            "#y#yyyyyyyyy#...",
            "##yyyyyyyyyy#...",
            "############....",
            "................",
            "................",
        },
        // save
        {
            "###############.",
            "#b#wwwwwwwww#b#.",
            "#b#wwwwwwwww#b#.",
            "#b#wwwwwwwww#b#.",
            "#b#wwwwwwwww#b#.",
            "#b###########b#.",
            "#bbbbbbbbbbbbb#.",
            "#bbbbbbbbbbbbb#.",
            "#bbb#######bbb#.",
            "#bbb#gg#ggg#bb#.",
            "#bbb#gg#ggg#bb#.",
            "#bbb#gg#ggg#bb#.",
            "#bbb#######bbb#.",
            "###############.",
            "................",
        },
    };
    return glyphs;
}

const std::vector<platform::ToolBarGlyph>& LayoutGlyphs() {
    static const std::vector<platform::ToolBarGlyph> glyphs = {
        // group
        {
            "##...........##.",
            "##...........##.",
            "....bbbbb.......",
            "....bbbbb.......",
            "....bbbbb.......",
            "....bbbbb.rrr...",
            "....bbbbbrrrrr..",
            "..........rrrrr.",
            "..........rrrrr.",
            "..........rrrrr.",
            "...........rrr..",
            "................",
            "................",
            "##...........##.",
            "##...........##.",
        },
        // ungroup
        {
            "##...##.........",
            "##...##.........",
            ".bbbbb..........",
            ".bbbbb..........",
            ".bbbbb..........",
            ".bbbbb..........",
            "##...##..##...##",
            "##...##..##...##",
            "..........rrr...",
            ".........rrrrr..",
            ".........rrrrr..",
            ".........rrrrr..",
            "..........rrr...",
            "........##...##.",
            "........##...##.",
        },
    };
    return glyphs;
}

} // namespace

void RegisterAppToolBarPictures(int width, int height) {
    platform::RegisterToolBarImages(IDR_MAINFRAME, width, height,
                                    platform::ToolBarStripFromGlyphs(FilesGlyphs(), width, height));
    platform::RegisterToolBarImages(
        IDR_LAYOUT_TOOLBAR, width, height,
        platform::ToolBarStripFromGlyphs(LayoutGlyphs(), width, height));
}

} // namespace kelvane
