#include "TextRaster.hpp"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <stdexcept>
#include <string>

namespace assetgen
{
namespace
{
constexpr long fixedPointOne = 64; // FreeType's 26.6 fixed point
constexpr float grayLevels = 255.f;

long pixels(long fixed)
{
    return (fixed + fixedPointOne / 2) / fixedPointOne;
}
} // namespace

struct FontFace::Library
{
    FT_Library library = nullptr;
    FT_Face face = nullptr;
};

FontFace::FontFace(const std::filesystem::path& file) : library(std::make_unique<Library>())
{
    if (FT_Init_FreeType(&library->library) != 0)
        throw std::runtime_error("FreeType could not start");
    if (FT_New_Face(library->library, file.string().c_str(), 0, &library->face) != 0)
    {
        FT_Done_FreeType(library->library);
        throw std::runtime_error("cannot open the font " + file.string());
    }
}

FontFace::~FontFace()
{
    FT_Done_Face(library->face);
    FT_Done_FreeType(library->library);
}

TextMask FontFace::render(std::string_view text, int pixelSize, int padding) const
{
    FT_Face face = library->face;
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelSize)) != 0)
        throw std::runtime_error("the font cannot be set at " + std::to_string(pixelSize) + " px");

    // First pass: the pen's travel, with kerning where the font has a kerning table.
    const bool kerning = FT_HAS_KERNING(face);
    long penFixed = 0;
    FT_UInt previous = 0;
    std::vector<long> penAt;
    for (const char ch : text)
    {
        const FT_UInt glyph = FT_Get_Char_Index(face, static_cast<unsigned char>(ch));
        if (kerning && previous != 0 && glyph != 0)
        {
            FT_Vector delta{};
            FT_Get_Kerning(face, previous, glyph, FT_KERNING_DEFAULT, &delta);
            penFixed += delta.x;
        }
        penAt.push_back(penFixed);
        if (FT_Load_Glyph(face, glyph, FT_LOAD_DEFAULT) != 0)
            throw std::runtime_error(std::string("the font has no glyph for '") + ch + "'");
        penFixed += face->glyph->advance.x;
        previous = glyph;
    }

    TextMask mask;
    const long ascender = pixels(face->size->metrics.ascender);
    const long descender = pixels(-face->size->metrics.descender);
    mask.baseline = static_cast<int>(ascender) + padding;
    mask.width = static_cast<int>(pixels(penFixed)) + 2 * padding;
    mask.height = static_cast<int>(ascender + descender) + 2 * padding;
    mask.coverage.assign(static_cast<std::size_t>(mask.width) * static_cast<std::size_t>(mask.height), 0.f);

    // Second pass: render each glyph's gray coverage into the mask.
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        const FT_UInt glyph = FT_Get_Char_Index(face, static_cast<unsigned char>(text[i]));
        if (FT_Load_Glyph(face, glyph, FT_LOAD_RENDER) != 0)
            throw std::runtime_error("FreeType could not render the text");
        const FT_GlyphSlot slot = face->glyph;
        const FT_Bitmap& bitmap = slot->bitmap;
        const int left = static_cast<int>(pixels(penAt[i])) + padding + slot->bitmap_left;
        const int top = mask.baseline - slot->bitmap_top;
        for (unsigned row = 0; row < bitmap.rows; ++row)
            for (unsigned col = 0; col < bitmap.width; ++col)
            {
                const int x = left + static_cast<int>(col);
                const int y = top + static_cast<int>(row);
                if (x < 0 || y < 0 || x >= mask.width || y >= mask.height)
                    continue;
                const unsigned char gray = bitmap.buffer[static_cast<long>(row) * bitmap.pitch + col];
                float& cell = mask.coverage[static_cast<std::size_t>(y) * static_cast<std::size_t>(mask.width) + x];
                cell = std::min(1.f, cell + static_cast<float>(gray) / grayLevels);
            }
    }
    return mask;
}
} // namespace assetgen
