// Draws the editor's PNG images: help icon, help overlays, info plate, logo
// and the two head outlines. Run by hand when an image changes, then run
// tools/embed_resources.py (see tools/regenerate_resources.sh).
//
//   qv_generate_images OUT_DIR [--preview PREVIEW_DIR] [--font-dir DIR]
//
// OUT_DIR receives the PNGs (editor/resources). With --preview, images that
// are shown translucent or over other components are also written composited
// over a rough stand-in of the editor, to judge them by eye.
// --font-dir names the Roboto TrueType folder used for the body text of the
// help overlays (Debian's fonts-roboto-unhinted by default); the bold face
// comes from the embedded font.

#include <JuceHeader.h>

#include "Fonts.h"

#include <functional>
#include <tuple>
#include <iostream>
#include <vector>

namespace
{
using juce::Colour;
using juce::Graphics;
using juce::Image;
using juce::Path;
using juce::Point;
using juce::Rectangle;
using juce::String;

using RectF = Rectangle<float>;

//==============================================================================
// Fonts

struct Typefaces
{
    juce::Typeface::Ptr bold;
    juce::Typeface::Ptr medium;
    juce::Typeface::Ptr regular;
};

Typefaces typefaces;

juce::Typeface::Ptr loadFace(const juce::File& file, juce::Typeface::Ptr fallback)
{
    juce::MemoryBlock data;
    if (!file.loadFileAsData(data))
    {
        std::cerr << "note: " << file.getFullPathName() << " not found, using Roboto Bold instead\n";
        return fallback;
    }
    return juce::Typeface::createSystemTypefaceFor(data.getData(), data.getSize());
}

void loadFonts(const juce::File& fontDir)
{
    typefaces.bold = juce::Typeface::createSystemTypefaceFor(Fonts::robotobold_ttf,
                                                             static_cast<size_t>(Fonts::robotobold_ttfSize));
    typefaces.medium = loadFace(fontDir.getChildFile("Roboto-Medium.ttf"), typefaces.bold);
    typefaces.regular = loadFace(fontDir.getChildFile("Roboto-Regular.ttf"), typefaces.bold);
}

juce::Font bold(float height, float kerning = 0.0f)
{
    return juce::Font(typefaces.bold).withHeight(height).withExtraKerningFactor(kerning);
}

juce::Font medium(float height)
{
    return juce::Font(typefaces.medium).withHeight(height);
}

juce::Font regular(float height)
{
    return juce::Font(typefaces.regular).withHeight(height);
}

//==============================================================================
// Colours shared by the images. The editor's background is 0xFF6E8296 and its
// panels lie under a black plate at alpha 0.45; the info text is 0xFFBDCFDF.

const Colour editorBackground(0xFF6E8296);
const Colour infoText(0xFFBDCFDF);
const Colour steel(0xFFD9E3EC);
const Colour accent(0xFFF2B544);      // callout outlines and titles
const Colour noteText(0xFFE9EEF3);
const Colour noteMuted(0xFFAFC0D1);
const Colour noteFill(0xFF161C23);

Image newImage(int w, int h)
{
    return Image(Image::ARGB, w, h, true, juce::SoftwareImageType());
}

//==============================================================================
// Editor geometry, in editor pixels (522 x 560). Panel rectangles follow the
// editor's layout; the controls inside follow each panel's own layout, moved by
// the panel's origin.

namespace layout
{
const Rectangle<int> editor(0, 0, 522, 560);
const Rectangle<int> input(1, 2, 220, 160);
const Rectangle<int> output(221, 2, 300, 160);
const Rectangle<int> surround(1, 162, 314, 397);
const Rectangle<int> params(315, 162, 206, 332);
const Rectangle<int> info(315, 494, 206, 65);
const Rectangle<int> helpIcon(498, 540, 16, 12);

Rectangle<int> in(const Rectangle<int>& panel, int x, int y, int w, int h)
{
    return { panel.getX() + x, panel.getY() + y, w, h };
}

// Input panel.
const Rectangle<int> inputCombo = in(input, 122, 4, 94, 14);
const Rectangle<int> inputMeters = in(input, 43, 45, 82, 94); // meters with their names
const Rectangle<int> inputTrim = in(input, 156, 24, 40, 106); // value label and slider
const Rectangle<int> inputButtons = in(input, 14, 139, 192, 13);

// Output panel (5.1: L/R, C, LFE, LS/RS strips, 56 wide, 3 apart, from x 4).
const Rectangle<int> outputCombo = in(output, 216, 4, 80, 14);
Rectangle<int> outputStrip(int n) { return in(output, 4 + 59 * n, 20, 56, 136); }

// Surround-controls panel.
const Rectangle<int> display = in(surround, 27, 29, 261, 261);
const Rectangle<int> tilt = in(surround, 191, 266, 121, 121);
const Rectangle<int> tiltDisc = in(surround, 211, 286, 81, 81);
const Rectangle<int> logo = in(surround, 7, 339, 68, 49);

// Parameter panel rows in 5.1 (x 5, 2 pixels apart from y 5).
const Rectangle<int> rowsOrientation = in(params, 5, 5, 196, 114);
const Rectangle<int> rowsWidth = in(params, 5, 121, 196, 62);
const Rectangle<int> rowsPolars = in(params, 5, 185, 196, 84);
} // namespace layout

RectF toF(const Rectangle<int>& r) { return r.toFloat(); }

//==============================================================================
// Small drawing helpers

// Text with **bold** runs; wraps inside the area.
juce::TextLayout richText(const String& text, float width, float size, Colour colour,
                          juce::Justification just = juce::Justification::topLeft)
{
    juce::AttributedString s;
    s.setJustification(just);
    s.setWordWrap(juce::AttributedString::byWord);
    s.setLineSpacing(1.0f);
    auto parts = juce::StringArray::fromTokens(text, "*", "");
    bool strong = false;
    // "**" splits into an empty token between the two stars.
    for (int i = 0; i < parts.size(); ++i)
    {
        if (parts[i].isEmpty() && i + 1 < parts.size() && parts[i + 1].isEmpty())
            continue;
        if (parts[i].isEmpty())
        {
            strong = !strong;
            continue;
        }
        if (strong)
            s.append(parts[i], bold(size), juce::Colours::white);
        else
            s.append(parts[i], medium(size), colour);
    }
    juce::TextLayout layout;
    layout.createLayout(s, width);
    return layout;
}

float drawRich(Graphics& g, const String& text, RectF area, float size, Colour colour,
               juce::Justification just = juce::Justification::topLeft)
{
    auto layout = richText(text, area.getWidth(), size, colour, just);
    layout.draw(g, area.withHeight(layout.getHeight()));
    return layout.getHeight();
}

void outlineTarget(Graphics& g, RectF r, float alpha = 1.0f)
{
    g.setColour(accent.withAlpha(0.12f * alpha));
    g.fillRoundedRectangle(r.expanded(1.5f), 3.0f);
    g.setColour(accent.withAlpha(alpha));
    g.drawRoundedRectangle(r.expanded(1.5f), 3.0f, 1.2f);
}

// A leader from a note box to a target: an elbow-free straight line from the
// nearest point of the box's edge, ending in a dot on the target's edge.
void leader(Graphics& g, Point<float> from, Point<float> to)
{
    g.setColour(accent.withAlpha(0.9f));
    g.drawLine({ from, to }, 1.1f);
    g.fillEllipse(RectF(5.0f, 5.0f).withCentre(to));
    g.setColour(noteFill);
    g.fillEllipse(RectF(2.0f, 2.0f).withCentre(to));
}

// A note: a dark card with an accent title and wrapped body text. Its height
// follows the text; noteBounds gives it without drawing.
constexpr float notePad = 5.0f;
constexpr float noteTitleHeight = 13.0f;
constexpr float noteTextSize = 10.0f;

RectF noteBounds(RectF box, const String& title, const String& body)
{
    auto bodyLayout = richText(body, box.getWidth() - 2 * notePad, noteTextSize, noteText);
    const float titleH = title.isEmpty() ? 0.0f : noteTitleHeight;
    return box.withHeight(notePad + titleH + bodyLayout.getHeight() + notePad - 1.0f);
}

RectF note(Graphics& g, RectF box, const String& title, const String& body)
{
    box = noteBounds(box, title, body);
    g.setColour(juce::Colours::black.withAlpha(0.35f));
    g.fillRoundedRectangle(box.translated(0.0f, 1.5f), 4.0f);
    g.setColour(noteFill.withAlpha(0.94f));
    g.fillRoundedRectangle(box, 4.0f);
    g.setColour(accent.withAlpha(0.55f));
    g.drawRoundedRectangle(box.reduced(0.5f), 4.0f, 1.0f);

    auto inner = box.reduced(notePad);
    if (title.isNotEmpty())
    {
        g.setColour(accent);
        g.setFont(bold(10.5f, 0.06f));
        g.drawText(title, inner.removeFromTop(noteTitleHeight), juce::Justification::topLeft, false);
    }
    drawRich(g, body, inner, noteTextSize, noteText);
    return box;
}

// The panel frame of the overlay: a soft outline of the panel's rectangle.
void panelFrame(Graphics& g, const Rectangle<int>& panel)
{
    g.setColour(steel.withAlpha(0.35f));
    g.drawRoundedRectangle(toF(panel).reduced(1.5f), 3.0f, 1.0f);
}

void panelTitle(Graphics& g, const Rectangle<int>& panel, const String& title)
{
    auto r = toF(panel).reduced(6.0f, 2.0f).withHeight(18.0f);
    g.setColour(juce::Colours::white);
    g.setFont(bold(13.0f, 0.08f));
    g.drawText(title, r, juce::Justification::centredLeft, false);
}

//==============================================================================
// Help icon: a light rounded tab with a dark question mark, matching the
// info panel's text colour.

Image drawHelpIcon()
{
    auto img = newImage(16, 12);
    Graphics g(img);
    g.setColour(infoText);
    g.fillRoundedRectangle(RectF(0.5f, 0.5f, 15.0f, 11.0f), 3.0f);

    // The question mark is drawn on the pixel grid: at this size a font's
    // glyph would blur.
    const Colour ink(0xFF1D252E);
    Path hook;
    hook.startNewSubPath(5.6f, 4.4f);
    hook.cubicTo(5.6f, 2.2f, 10.4f, 2.0f, 10.4f, 4.3f);
    hook.cubicTo(10.4f, 5.6f, 8.0f, 5.8f, 8.0f, 7.3f);
    g.setColour(ink);
    g.strokePath(hook, juce::PathStrokeType(1.6f, juce::PathStrokeType::curved, juce::PathStrokeType::butt));
    g.fillRect(7, 8, 2, 2);
    return img;
}

//==============================================================================
// Info plate: the background of the info panel, with the product's name at the
// top. The panel writes the version and notice lines over its middle and
// the help icon sits in its lower right corner, so both stay clear.

Image drawInfoPlate()
{
    auto img = newImage(204, 63);
    Graphics g(img);
    RectF r(0.5f, 0.5f, 203.0f, 62.0f);

    juce::ColourGradient fill(Colour(0xF01E262F), 0.0f, 0.0f, Colour(0xF0151A20), 0.0f, 63.0f, false);
    g.setGradientFill(fill);
    g.fillRoundedRectangle(r, 3.0f);
    g.setColour(juce::Colours::white.withAlpha(0.10f));
    g.drawRoundedRectangle(r, 3.0f, 1.0f);

    // Name: "QUORVANE" in the UI's bold face, the "2" in the accent colour.
    auto nameFont = bold(13.0f, 0.14f);
    const String name("QUORVANE");
    const float nameW = nameFont.getStringWidthFloat(name);
    auto twoFont = bold(13.0f);
    const float twoW = twoFont.getStringWidthFloat("2");
    // The tracking also follows the last letter; take it back before the "2".
    const float gap = 2.0f - nameFont.getExtraKerningFactor() * nameFont.getHeight();
    const float x0 = (204.0f - (nameW + gap + twoW)) * 0.5f;
    g.setFont(nameFont);
    g.setColour(steel);
    g.drawText(name, RectF(x0, 3.0f, nameW + 4.0f, 16.0f), juce::Justification::centredLeft, false);
    g.setFont(twoFont);
    g.setColour(accent);
    g.drawText("2", RectF(x0 + nameW + gap, 3.0f, twoW + 4.0f, 16.0f), juce::Justification::centredLeft, false);

    // Hairline under the name, fading out towards both ends.
    juce::ColourGradient line(juce::Colours::transparentWhite, 20.0f, 0.0f, juce::Colours::transparentWhite, 184.0f, 0.0f, false);
    line.addColour(0.5, juce::Colours::white.withAlpha(0.28f));
    g.setGradientFill(line);
    g.fillRect(RectF(20.0f, 20.5f, 164.0f, 1.0f));
    return img;
}

//==============================================================================
// Logo: an original mark for Brennick Limited. A steel disc carrying a "B"
// cut from a stem and two open rings, with one accent wavefront leaving it on
// the right, above the name set in the UI's bold face.

Image drawLogo()
{
    auto img = newImage(68, 49);
    Graphics g(img);
    const float cx = 31.0f;
    const float cy = 14.5f;
    const float r = 13.0f;

    juce::ColourGradient metal(Colour(0xFFF3F7FA), cx, cy - r, Colour(0xFF9DB3C8), cx, cy + r, false);
    g.setGradientFill(metal);
    g.fillEllipse(cx - r, cy - r, 2 * r, 2 * r);

    // The "B": a stem and two rings open towards it, in the panel's dark ink.
    const Colour ink(0xFF1B232C);
    juce::PathStrokeType pen(2.4f, juce::PathStrokeType::mitered, juce::PathStrokeType::butt);
    const float left = cx - 5.0f;
    const float top = cy - 8.0f;
    const float mid = cy - 0.6f;
    const float bottom = cy + 8.0f;
    Path b;
    b.startNewSubPath(left, top);
    b.lineTo(cx + 0.5f, top);
    b.addCentredArc(cx + 0.5f, (top + mid) * 0.5f, 3.7f, (mid - top) * 0.5f, 0.0f, 0.0f, juce::MathConstants<float>::pi);
    b.lineTo(left, mid);
    b.startNewSubPath(cx + 0.5f, mid);
    b.addCentredArc(cx + 1.0f, (mid + bottom) * 0.5f, 4.4f, (bottom - mid) * 0.5f, 0.0f, 0.0f, juce::MathConstants<float>::pi);
    b.lineTo(left, bottom);
    b.startNewSubPath(left, top - 1.2f);
    b.lineTo(left, bottom + 1.2f);
    g.setColour(ink);
    g.strokePath(b, pen);

    // Two wavefronts leaving the disc, the outer one fainter and shorter.
    const float pi = juce::MathConstants<float>::pi;
    for (auto [gap, spread, alpha] : { std::tuple { 4.0f, 0.20f, 1.0f }, std::tuple { 8.0f, 0.14f, 0.45f } })
    {
        Path wave;
        wave.addCentredArc(cx, cy, r + gap, r + gap, 0.0f, pi * (0.5f - spread), pi * (0.5f + spread), true);
        g.setColour(accent.withAlpha(alpha));
        g.strokePath(wave, juce::PathStrokeType(1.8f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
    }

    g.setColour(Colour(0xFFEEF3F7));
    g.setFont(bold(10.5f, 0.10f));
    g.drawText("BRENNICK", RectF(0.0f, 30.5f, 68.0f, 11.0f), juce::Justification::centred, false);
    g.setColour(infoText.withAlpha(0.85f));
    g.setFont(bold(6.5f, 0.32f));
    g.drawText("LIMITED", RectF(0.0f, 41.5f, 68.0f, 7.0f), juce::Justification::centred, false);
    return img;
}

//==============================================================================
// Side-view head, facing right, for the tilt control (shown at alpha 0.2 over
// a black disc, so it is drawn in white).

Image drawHeadSide()
{
    auto img = newImage(65, 70);
    Graphics g(img);

    Path head;
    head.startNewSubPath(17.0f, 68.5f);            // back of the neck
    head.cubicTo(17.5f, 61.0f, 14.0f, 56.0f, 10.0f, 50.0f);
    head.cubicTo(4.0f, 41.0f, 3.0f, 24.0f, 11.0f, 13.0f); // back of the skull
    head.cubicTo(18.0f, 4.0f, 31.0f, 1.5f, 41.0f, 3.5f);  // crown
    head.cubicTo(50.0f, 5.5f, 55.0f, 12.0f, 55.5f, 21.0f); // forehead
    head.cubicTo(55.7f, 24.0f, 55.0f, 25.5f, 55.6f, 27.0f); // brow
    head.cubicTo(57.5f, 30.5f, 60.5f, 34.5f, 61.5f, 37.0f); // nose
    head.cubicTo(62.0f, 38.5f, 60.0f, 39.5f, 57.0f, 39.8f);
    head.cubicTo(57.8f, 41.5f, 58.4f, 43.0f, 57.2f, 44.0f); // upper lip
    head.cubicTo(58.2f, 45.5f, 57.8f, 47.3f, 56.3f, 48.0f); // lower lip
    head.cubicTo(57.0f, 50.5f, 56.5f, 54.5f, 53.0f, 56.0f); // chin
    head.cubicTo(49.0f, 57.8f, 44.0f, 57.8f, 40.0f, 57.5f); // jaw
    head.cubicTo(39.5f, 61.0f, 40.5f, 65.0f, 42.5f, 68.5f); // throat

    Path ear;
    ear.startNewSubPath(29.5f, 30.0f);
    ear.cubicTo(31.0f, 26.0f, 37.5f, 26.5f, 37.5f, 32.5f);
    ear.cubicTo(37.5f, 37.0f, 34.0f, 38.0f, 34.0f, 41.5f);
    ear.cubicTo(34.0f, 44.5f, 30.0f, 45.0f, 29.0f, 42.5f);

    Path eye;
    eye.startNewSubPath(48.5f, 29.0f);
    eye.quadraticTo(51.0f, 27.5f, 53.0f, 29.0f);

    Path fillShape(head);
    fillShape.closeSubPath();
    g.setColour(juce::Colours::white.withAlpha(0.22f));
    g.fillPath(fillShape);

    g.setColour(juce::Colours::white);
    juce::PathStrokeType pen(2.2f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded);
    g.strokePath(head, pen);
    g.strokePath(ear, juce::PathStrokeType(1.8f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
    g.strokePath(eye, juce::PathStrokeType(1.6f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
    return img;
}

//==============================================================================
// Top-down head, nose up (the front), for the surround display's centre
// (shown at alpha 0.5 over the black disc).

Image drawHeadTopDown()
{
    auto img = newImage(89, 131);
    Graphics g(img);
    const float cx = 44.5f;
    const float cy = 67.0f;

    Path skull;
    skull.addEllipse(cx - 32.0f, cy - 46.0f, 64.0f, 92.0f);

    Path nose;
    nose.startNewSubPath(cx - 5.5f, cy - 45.0f);
    nose.cubicTo(cx - 4.0f, cy - 50.5f, cx - 2.2f, cy - 53.0f, cx, cy - 53.0f);
    nose.cubicTo(cx + 2.2f, cy - 53.0f, cx + 4.0f, cy - 50.5f, cx + 5.5f, cy - 45.0f);

    auto earPath = [&](float side)
    {
        Path ear;
        const float x = cx + side * 31.0f;
        ear.startNewSubPath(x, cy - 13.0f);
        ear.cubicTo(x + side * 9.0f, cy - 14.0f, x + side * 11.0f, cy + 2.0f, x + side * 7.0f, cy + 9.0f);
        ear.cubicTo(x + side * 5.0f, cy + 12.0f, x + side * 2.0f, cy + 12.0f, x, cy + 10.0f);
        return ear;
    };
    auto left = earPath(-1.0f);
    auto right = earPath(1.0f);

    g.setColour(juce::Colours::white.withAlpha(0.16f));
    g.fillPath(skull);
    for (auto ear : { left, right })
    {
        ear.closeSubPath();
        g.fillPath(ear);
    }
    Path noseFill(nose);
    noseFill.closeSubPath();
    g.fillPath(noseFill);

    juce::PathStrokeType pen(2.0f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded);
    g.setColour(juce::Colours::white.withAlpha(0.9f));
    g.strokePath(skull, pen);
    g.strokePath(nose, pen);
    g.strokePath(left, pen);
    g.strokePath(right, pen);
    return img;
}

//==============================================================================
// Help overlays: the whole editor dimmed, each panel framed, and notes with
// leaders to the controls they describe. The VST2 overlay and the one for Audio
// Unit and AAX hosts differ in how the output layout is chosen.

struct Note
{
    RectF box;
    String title;
    String body;
    std::vector<Point<float>> leaderTargets; // on the targets' edges
};

Point<float> nearestEdgePoint(RectF box, Point<float> target)
{
    return { juce::jlimit(box.getX(), box.getRight(), target.x), juce::jlimit(box.getY(), box.getBottom(), target.y) };
}

void drawNote(Graphics& g, const Note& n)
{
    // Leaders first, so the card sits on top of their start.
    const auto box = noteBounds(n.box, n.title, n.body);
    for (auto t : n.leaderTargets)
        leader(g, nearestEdgePoint(box, t), t);
    note(g, n.box, n.title, n.body);
}

Image drawHelpOverlay(bool hostSetsLayout)
{
    using namespace layout;
    auto img = newImage(522, 560);
    Graphics g(img);

    g.fillAll(Colour(0xFF0B0F14).withAlpha(0.82f));
    for (auto p : { input, output, surround, params, info })
        panelFrame(g, p);

    // ---- Input panel
    panelTitle(g, input, "INPUT");
    outlineTarget(g, toF(inputCombo));
    outlineTarget(g, toF(inputTrim));
    outlineTarget(g, toF(inputButtons));

    const Point<float> comboLeft(toF(inputCombo).getX() - 1.5f, toF(inputCombo).getCentreY());
    const float buttonsTop = toF(inputButtons).getY() - 1.5f;
    drawNote(g, { RectF(6.0f, 23.0f, 146.0f, 0.0f), "INPUT FORMAT",
                  "**A**: the capsules LF RF LB RB\n**B**: W X Y Z", { comboLeft } });
    drawNote(g, { RectF(6.0f, 71.0f, 146.0f, 0.0f), "",
                  "**TRIM**: input level. Drag, or click the value to type dB.",
                  { { toF(inputTrim).getX() - 1.5f, 87.0f } } });
    drawNote(g, { RectF(6.0f, 106.0f, 146.0f, 0.0f), "",
                  "**INVERT** polarity, **END FIRE** microphone, **HI PASS** input filter",
                  { { 45.0f, buttonsTop }, { 111.0f, buttonsTop }, { 177.0f, buttonsTop } } });

    // ---- Output panel
    panelTitle(g, output, "OUTPUT");
    outlineTarget(g, toF(outputCombo));
    outlineTarget(g, toF(outputStrip(0).getUnion(outputStrip(3))).reduced(1.0f), 0.6f);

    const String layoutText = hostSetsLayout
        ? "Follows the track's channel format; where the host fixes it, the menu is locked."
        : "STEREO, 5.0 to 7.1 or B FORMAT. Give the track the same channel count.";
    drawNote(g, { RectF(268.0f, 23.0f, 156.0f, 0.0f), "OUTPUT LAYOUT", layoutText,
                  { { toF(outputCombo).getX() - 1.5f, toF(outputCombo).getCentreY() } } });
    drawNote(g, { RectF(236.0f, 78.0f, 270.0f, 0.0f), "SPEAKER GROUPS",
                  "One strip per group: meters and level. **M** mutes, **S** solos; a group "
                  "silenced by a solo blinks its M. Click a level value to type dB.",
                  {} });

    // ---- Surround-controls panel
    panelTitle(g, surround, "SURROUND CONTROLS");
    const auto disc = toF(display).reduced(2.0f);
    g.setColour(accent.withAlpha(0.8f));
    g.drawEllipse(disc, 1.2f);
    g.drawEllipse(toF(tiltDisc).expanded(1.5f), 1.2f);

    // The rotation marker rests at the top of the disc; the L curve sits 45
    // degrees left of straight ahead in every layout but B FORMAT.
    const Point<float> marker(disc.getCentreX(), disc.getY() + 11.0f);
    const Point<float> curveL(disc.getCentreX() - 60.0f, disc.getCentreY() - 60.0f);
    drawNote(g, { RectF(64.0f, 283.0f, 190.0f, 0.0f), "SURROUND DISPLAY",
                  "The virtual microphones seen from above, one polar curve each.\n"
                  "**Drag the disc** or turn the wheel to rotate the sound field (red marker).\n"
                  "**Drag a curve** to widen or narrow its speaker pair; "
                  "**Shift-drag** it to change its pattern.",
                  { marker, curveL } });
    drawNote(g, { RectF(8.0f, 462.0f, 174.0f, 0.0f), "TILT",
                  "Side view: drag the right half for the front tilt, the left half for the rear tilt.",
                  { { toF(tiltDisc).getX() - 1.5f, toF(tiltDisc).getCentreY() } } });

    // ---- Parameter panel
    panelTitle(g, params, "PARAMETERS");
    const float nx = 322.0f;
    const float nw = 192.0f;
    drawNote(g, { RectF(nx, 190.0f, nw, 0.0f), "MIC ORIENTATION",
                  "Rotation, front and rear tilt and zoom of the sound field. "
                  "Double-click ROTATION to return it to 0.", {} });
    drawNote(g, { RectF(nx, 262.0f, nw, 0.0f), "WIDTH",
                  "Angle between the two speakers of each pair.", {} });
    drawNote(g, { RectF(nx, 310.0f, nw, 0.0f), "POLARS",
                  "Pattern of each virtual microphone, from wide (0) to narrow (1); in STEREO "
                  "from omni to figure of eight. **ALL** sets every pattern at once.", {} });
    // Steinberg hosts get read-only value boxes; they load the VST2 build.
    drawNote(g, { RectF(nx, 384.0f, nw, 0.0f), "",
                  hostSetsLayout ? "Rows follow the output layout. Type a value into its box; "
                                   "**Alt-click** any slider to reset it."
                                 : "Rows follow the output layout. Type a value into its box "
                                   "(read-only in Cubase and Nuendo); **Alt-click** any slider to reset it.",
                  {} });

    // ---- Info panel and the way out
    outlineTarget(g, toF(helpIcon));
    const auto closeNote = noteBounds(RectF(nx, 440.0f, nw, 0.0f), "", "Click anywhere to close help.");
    leader(g, { toF(helpIcon).getCentreX(), closeNote.getBottom() }, { toF(helpIcon).getCentreX(), toF(helpIcon).getY() - 1.5f });
    note(g, closeNote, "", "Click anywhere to close help.");
    return img;
}

//==============================================================================
// Previews: a rough stand-in of the editor (background and panel plates) to
// judge translucent images by eye. Not part of the resources.

Image mockEditor()
{
    using namespace layout;
    auto img = newImage(522, 560);
    Graphics g(img);
    g.fillAll(editorBackground);
    for (auto p : { input, output, surround, params })
    {
        g.setColour(juce::Colours::black.withAlpha(0.45f));
        g.fillRoundedRectangle(toF(p).reduced(1.0f), 2.0f);
        g.setColour(juce::Colours::white);
        g.setFont(bold(15.5f, 0.11f));
    }
    g.setColour(juce::Colours::white.withAlpha(0.2f));
    g.fillRoundedRectangle(RectF(6.0f, 23.0f, 210.0f, 134.0f), 2.0f);
    for (int i = 0; i < 4; ++i)
        g.fillRoundedRectangle(toF(outputStrip(i)).reduced(1.0f), 2.0f);
    g.setColour(juce::Colours::black);
    g.fillEllipse(toF(display).reduced(2.0f));
    g.setColour(juce::Colours::black.withAlpha(0.8f));
    g.fillEllipse(toF(tiltDisc));
    return img;
}

void composite(Image& dst, const Image& src, int x, int y, float alpha)
{
    Graphics g(dst);
    g.setOpacity(alpha);
    g.drawImageAt(src, x, y);
}

bool writePng(const Image& img, const juce::File& file)
{
    file.deleteFile();
    juce::FileOutputStream out(file);
    juce::PNGImageFormat png;
    if (!out.openedOk() || !png.writeImageToStream(img, out))
    {
        std::cerr << "cannot write " << file.getFullPathName() << "\n";
        return false;
    }
    std::cout << file.getFileName() << ": " << img.getWidth() << " x " << img.getHeight() << "\n";
    return true;
}

Image scaled(const Image& img, int factor)
{
    auto big = newImage(img.getWidth() * factor, img.getHeight() * factor);
    Graphics g(big);
    g.setImageResamplingQuality(Graphics::lowResamplingQuality);
    g.drawImageTransformed(img, juce::AffineTransform::scale(static_cast<float>(factor)));
    return big;
}

} // namespace

int main(int argc, char* argv[])
{
    juce::ScopedJuceInitialiser_GUI juce;

    juce::StringArray args;
    for (int i = 1; i < argc; ++i)
        args.add(argv[i]);
    if (args.isEmpty() || args[0].startsWith("-"))
    {
        std::cerr << "usage: qv_generate_images OUT_DIR [--preview DIR] [--font-dir DIR]\n";
        return 2;
    }
    const juce::File outDir = juce::File::getCurrentWorkingDirectory().getChildFile(args[0]);
    juce::File previewDir;
    juce::File fontDir("/usr/share/fonts/truetype/roboto/unhinted/RobotoTTF");
    for (int i = 1; i + 1 < args.size(); ++i)
    {
        if (args[i] == "--preview")
            previewDir = juce::File::getCurrentWorkingDirectory().getChildFile(args[++i]);
        else if (args[i] == "--font-dir")
            fontDir = juce::File::getCurrentWorkingDirectory().getChildFile(args[++i]);
    }
    loadFonts(fontDir);
    outDir.createDirectory();

    struct Output
    {
        const char* file;
        Image image;
    };
    const std::vector<Output> outputs = {
        { "help.png", drawHelpIcon() },
        { "help_overlay.png", drawHelpOverlay(false) },
        { "protools_help_overlay.png", drawHelpOverlay(true) },
        { "info.png", drawInfoPlate() },
        { "logo.png", drawLogo() },
        { "head_outline.png", drawHeadSide() },
        { "head_topdown_outline.png", drawHeadTopDown() },
    };
    bool ok = true;
    for (const auto& o : outputs)
        ok = writePng(o.image, outDir.getChildFile(o.file)) && ok;

    if (previewDir != juce::File())
    {
        previewDir.createDirectory();
        const auto find = [&](const char* name) {
            for (const auto& o : outputs)
                if (String(o.file) == name)
                    return o.image;
            return Image();
        };
        for (bool au : { false, true })
        {
            auto editor = mockEditor();
            composite(editor, find("info.png"), layout::info.getX() + 1, layout::info.getY() + 1, 1.0f);
            composite(editor, find("logo.png"), layout::logo.getX(), layout::logo.getY(), 1.0f);
            composite(editor, find("help.png"), layout::helpIcon.getX(), layout::helpIcon.getY(), 1.0f);
            composite(editor, find("head_topdown_outline.png"), layout::display.getCentreX() - 44,
                      layout::display.getCentreY() - 65, 0.5f);
            composite(editor, find("head_outline.png"), layout::tilt.getCentreX() - 32, layout::tilt.getCentreY() - 35, 0.2f);
            auto plain = editor.createCopy();
            ok = writePng(plain, previewDir.getChildFile("editor_mock.png")) && ok;
            composite(editor, find(au ? "protools_help_overlay.png" : "help_overlay.png"), 0, 0, 1.0f);
            ok = writePng(editor, previewDir.getChildFile(au ? "overlay_au_on_mock.png" : "overlay_vst_on_mock.png")) && ok;
            ok = writePng(scaled(editor.getClippedImage({ 0, 0, 261, 280 }), 3), previewDir.getChildFile(au ? "x3_overlay_au_top_left.png" : "x3_overlay_vst_top_left.png")) && ok;
            ok = writePng(scaled(editor.getClippedImage({ 261, 280, 261, 280 }), 3), previewDir.getChildFile(au ? "x3_overlay_au_bottom_right.png" : "x3_overlay_vst_bottom_right.png")) && ok;
        }
        for (const char* small : { "help.png", "info.png", "logo.png", "head_outline.png", "head_topdown_outline.png" })
        {
            auto img = find(small);
            auto onDark = newImage(img.getWidth(), img.getHeight());
            {
                Graphics g(onDark);
                g.fillAll(Colour(0xFF2A3038));
                g.drawImageAt(img, 0, 0);
            }
            ok = writePng(scaled(onDark, 4), previewDir.getChildFile(String("x4_") + small)) && ok;
        }
    }
    return ok ? 0 : 1;
}
