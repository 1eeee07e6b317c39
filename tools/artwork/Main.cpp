// TacetorArtwork: draws the pedal's pictures, at 1× and 2×, from its one description.
//
//   TacetorArtwork --out DIR            writes the pictures into DIR
//   TacetorArtwork --check DIR          draws them into a temporary folder and compares them
//                                       byte for byte with DIR (exit 0 when all are equal)
//   TacetorArtwork --sheet FILE [DIR]   writes a contact sheet of the 1× pictures in DIR, or of
//                                       freshly drawn ones, as a PNG
//   TacetorArtwork --icons DIR          writes the app's icon at each size into DIR as a
//                                       freedesktop icon theme: DIR/16x16/apps/NAME.png and so on
#include "AppIcon.h"
#include "ContactSheet.h"
#include "PedalArtwork.h"

#include <iostream>

namespace
{
int usage()
{
    std::cerr << "usage: TacetorArtwork --out DIR | --check DIR | --sheet FILE [DIR] | --icons DIR\n";
    return 2;
}

bool writePictures (const std::vector<PedalArtwork::Picture>& pictures, const juce::File& folder)
{
    if (! folder.createDirectory())
    {
        std::cerr << "cannot create " << folder.getFullPathName() << "\n";
        return false;
    }

    for (const auto& picture : pictures)
    {
        const auto bytes = picture.encode();
        const auto file = folder.getChildFile (picture.fileName);

        if (bytes.isEmpty() || ! file.replaceWithData (bytes.getData(), bytes.getSize()))
        {
            std::cerr << "cannot write " << file.getFullPathName() << "\n";
            return false;
        }
    }

    return true;
}

int check (const std::vector<PedalArtwork::Picture>& pictures, const juce::File& committed)
{
    const auto scratch = juce::File::getSpecialLocation (juce::File::tempDirectory)
                             .getNonexistentChildFile ("tacetor-artwork", "");

    if (! writePictures (pictures, scratch))
        return 1;

    int differing = 0;

    for (const auto& picture : pictures)
    {
        juce::MemoryBlock fresh, stored;
        scratch.getChildFile (picture.fileName).loadFileAsData (fresh);
        const bool readable = committed.getChildFile (picture.fileName).loadFileAsData (stored);
        const bool same = readable && fresh == stored;
        std::cout << (same ? "same    " : "DIFFERS ") << picture.fileName << " (" << fresh.getSize() << " bytes drawn, "
                  << (readable ? juce::String (stored.getSize()) + " stored)" : juce::String ("missing)")) << "\n";
        differing += same ? 0 : 1;
    }

    if (differing == 0)
    {
        scratch.deleteRecursively();
        std::cout << "all pictures match " << committed.getFullPathName() << "\n";
        return 0;
    }

    std::cout << differing << " picture(s) differ; the fresh ones are in " << scratch.getFullPathName()
              << " (regenerate with --out if the change is intended)\n";
    return 1;
}

int icons (const PedalDescription& pedal, const ArtworkFonts& fonts, const juce::File& theme)
{
    // Drawn from the double-size pedal: the largest icons then get more than one source pixel each.
    constexpr int scale = PedalGeometry::doubleSizeScale;
    const AppIcon icon (pedal, PedalArtwork (pedal, fonts).paintAtScale (scale).front().image, scale);

    for (const auto size : AppIcon::sizes)
    {
        const auto folder = theme.getChildFile (juce::String (size) + "x" + juce::String (size)).getChildFile ("apps");
        const auto bytes = PngEncoder::encode (icon.paint (size), PngEncoder::Kind::rgba, false);
        const auto file = folder.getChildFile ("pelmora-tacetor.png");

        if (! folder.createDirectory() || bytes.isEmpty() || ! file.replaceWithData (bytes.getData(), bytes.getSize()))
        {
            std::cerr << "cannot write " << file.getFullPathName() << "\n";
            return 1;
        }
    }

    return 0;
}

int sheet (const std::vector<PedalArtwork::Picture>& fresh, const juce::File& output, const juce::String& folder)
{
    juce::Array<juce::Image> pictures;

    // The 1× set comes first.
    for (const auto& name : PedalArtwork::fileNames (1))
    {
        const auto& drawn = fresh[static_cast<size_t> (pictures.size())];
        pictures.add (folder.isEmpty() ? drawn.image : juce::ImageFileFormat::loadFrom (juce::File (folder).getChildFile (name)));
    }

    const auto composed = ContactSheet::compose (pictures);
    juce::FileOutputStream stream (output);
    juce::PNGImageFormat png;

    if (! composed.isValid() || ! stream.openedOk() || ! stream.setPosition (0) || ! stream.truncate().wasOk() || ! png.writeImageToStream (composed, stream))
    {
        std::cerr << "cannot write the contact sheet to " << output.getFullPathName() << "\n";
        return 1;
    }

    std::cout << "contact sheet: " << output.getFullPathName() << "\n";
    return 0;
}
} // namespace

int main (int argc, char** argv)
{
    if (argc < 3)
        return usage();

    const juce::String mode (argv[1]);
    const juce::File target (juce::File::getCurrentWorkingDirectory().getChildFile (argv[2]));

    // The contact sheet paints a label, which needs the framework's GUI side running.
    const juce::ScopedJuceInitialiser_GUI framework;
    const PedalDescription pedal;
    const ArtworkFonts fonts;

    if (! fonts.isComplete())
    {
        std::cerr << "missing font files (install scripts/install-deps.sh's packages):\n"
                  << fonts.getMissing().joinIntoString ("\n") << "\n";
        return 1;
    }

    if (mode == "--icons")
        return icons (pedal, fonts, target);

    const auto pictures = PedalArtwork (pedal, fonts).paintAll();

    if (mode == "--out")
        return writePictures (pictures, target) ? 0 : 1;

    if (mode == "--check")
        return check (pictures, target);

    if (mode == "--sheet")
        return sheet (pictures, target, argc > 3 ? juce::File::getCurrentWorkingDirectory().getChildFile (argv[3]).getFullPathName() : juce::String());

    return usage();
}
