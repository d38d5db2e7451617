#include "ComponentSnapshot.h"

namespace qvtest
{
juce::Image RenderComponent (juce::Component& component, juce::Colour background, float scale)
{
    const int w = juce::roundToInt ((float) component.getWidth() * scale);
    const int h = juce::roundToInt ((float) component.getHeight() * scale);
    juce::Image image (juce::Image::ARGB, juce::jmax (1, w), juce::jmax (1, h), true, juce::SoftwareImageType());

    juce::Graphics g (image);
    g.fillAll (background);
    g.addTransform (juce::AffineTransform::scale (scale));
    component.paintEntireComponent (g, true);
    return image;
}

juce::Image RenderWith (int width, int height, const std::function<void (juce::Graphics&)>& paint, juce::Colour background)
{
    juce::Image image (juce::Image::ARGB, juce::jmax (1, width), juce::jmax (1, height), true, juce::SoftwareImageType());
    juce::Graphics g (image);
    g.fillAll (background);
    paint (g);
    return image;
}

juce::File SnapshotDirectory()
{
    const juce::File dir (QV_SNAPSHOT_DIR);
    dir.createDirectory();
    return dir;
}

juce::File SavePng (const juce::Image& image, const juce::String& name)
{
    const auto file = SnapshotDirectory().getChildFile (name + ".png");
    file.deleteFile();

    juce::FileOutputStream out (file);

    if (out.openedOk())
    {
        juce::PNGImageFormat png;
        png.writeImageToStream (image, out);
    }

    return file;
}

juce::Colour PixelAt (const juce::Image& image, int x, int y)
{
    if (x < 0 || y < 0 || x >= image.getWidth() || y >= image.getHeight())
        return juce::Colours::transparentBlack;

    return image.getPixelAt (x, y);
}

int CountPixels (const juce::Image& image, juce::Rectangle<int> area, const std::function<bool (juce::Colour)>& predicate)
{
    area = area.getIntersection (image.getBounds());
    int count = 0;

    for (int y = area.getY(); y < area.getBottom(); ++y)
        for (int x = area.getX(); x < area.getRight(); ++x)
            if (predicate (image.getPixelAt (x, y)))
                ++count;

    return count;
}

int CountPixels (const juce::Image& image, const std::function<bool (juce::Colour)>& predicate)
{
    return CountPixels (image, image.getBounds(), predicate);
}

juce::Rectangle<int> BoundsOfPixels (const juce::Image& image, const std::function<bool (juce::Colour)>& predicate)
{
    int left = image.getWidth(), top = image.getHeight(), right = -1, bottom = -1;

    for (int y = 0; y < image.getHeight(); ++y)
    {
        for (int x = 0; x < image.getWidth(); ++x)
        {
            if (predicate (image.getPixelAt (x, y)))
            {
                left = juce::jmin (left, x);
                right = juce::jmax (right, x);
                top = juce::jmin (top, y);
                bottom = juce::jmax (bottom, y);
            }
        }
    }

    return right < 0 ? juce::Rectangle<int>() : juce::Rectangle<int> (left, top, right - left + 1, bottom - top + 1);
}

bool Near (juce::Colour a, juce::Colour b, int tolerance)
{
    return std::abs ((int) a.getAlpha() - (int) b.getAlpha()) <= tolerance
        && std::abs ((int) a.getRed() - (int) b.getRed()) <= tolerance
        && std::abs ((int) a.getGreen() - (int) b.getGreen()) <= tolerance
        && std::abs ((int) a.getBlue() - (int) b.getBlue()) <= tolerance;
}

juce::String Describe (juce::Colour c)
{
    return "ARGB 0x" + juce::String::toHexString ((int) c.getARGB()).paddedLeft ('0', 8).toUpperCase();
}

juce::MouseEvent MakeMouseEvent (juce::Component& component, juce::Point<float> position,
                                 juce::ModifierKeys modifiers, int numberOfClicks)
{
    const auto now = juce::Time::getCurrentTime();
    return juce::MouseEvent (juce::Desktop::getInstance().getMainMouseSource(), position, modifiers,
                             juce::MouseInputSource::defaultPressure, 0.0f, 0.0f, 0.0f, 0.0f,
                             &component, &component, now, position, now, numberOfClicks, false);
}

void ClickThroughPeer (juce::Component& component, juce::Point<int> localPosition, juce::ModifierKeys modifiers)
{
    auto* peer = component.getPeer();

    if (peer == nullptr)
        return;

    const auto inPeer = peer->getComponent().getLocalPoint (&component, localPosition).toFloat();
    const auto type = juce::MouseInputSource::InputSourceType::mouse;
    const auto keys = modifiers.withoutMouseButtons();
    auto time = juce::Time::currentTimeMillis();

    // Mouse events take their key modifiers from the global state, which the
    // window system keeps up to date from the keyboard.
    const auto previous = juce::ModifierKeys::currentModifiers;
    juce::ModifierKeys::currentModifiers = keys;

    peer->handleMouseEvent (type, inPeer, keys, juce::MouseInputSource::defaultPressure, 0.0f, time);
    peer->handleMouseEvent (type, inPeer, keys.withFlags (juce::ModifierKeys::leftButtonModifier),
                            juce::MouseInputSource::defaultPressure, 0.0f, time + 1);
    peer->handleMouseEvent (type, inPeer, keys, juce::MouseInputSource::defaultPressure, 0.0f, time + 2);

    juce::ModifierKeys::currentModifiers = previous;
}
} // namespace qvtest
