#include "PeerGestures.h"

namespace qvtest
{
namespace
{
// Runs f with the global key state set to `keys` (mouse events read Shift
// and Alt from it) and restores it afterwards.
template <typename F>
void WithKeys (juce::ModifierKeys keys, F&& f)
{
    const auto previous = juce::ModifierKeys::currentModifiers;
    juce::ModifierKeys::currentModifiers = keys;
    f();
    juce::ModifierKeys::currentModifiers = previous;
}
} // namespace

void DragThroughPeer (juce::Component& component, juce::Point<int> from, const std::vector<juce::Point<int>>& path,
                      juce::ModifierKeys modifiers)
{
    auto* peer = component.getPeer();

    if (peer == nullptr)
        return;

    const auto inPeer = [&] (juce::Point<int> p) { return peer->getComponent().getLocalPoint (&component, p).toFloat(); };
    const auto type = juce::MouseInputSource::InputSourceType::mouse;
    const auto keys = modifiers.withoutMouseButtons();
    const auto held = keys.withFlags (juce::ModifierKeys::leftButtonModifier);
    const auto pressure = juce::MouseInputSource::defaultPressure;
    auto time = juce::Time::currentTimeMillis();

    WithKeys (keys, [&] {
        peer->handleMouseEvent (type, inPeer (from), keys, pressure, 0.0f, time++);
        peer->handleMouseEvent (type, inPeer (from), held, pressure, 0.0f, time++);

        for (auto p : path)
            peer->handleMouseEvent (type, inPeer (p), held, pressure, 0.0f, time++);

        peer->handleMouseEvent (type, inPeer (path.empty() ? from : path.back()), keys, pressure, 0.0f, time++);
    });
}

void WheelThroughPeer (juce::Component& component, juce::Point<int> localPosition, float deltaY)
{
    auto* peer = component.getPeer();

    if (peer == nullptr)
        return;

    const auto inPeer = peer->getComponent().getLocalPoint (&component, localPosition).toFloat();
    juce::MouseWheelDetails wheel {};
    wheel.deltaY = deltaY;
    peer->handleMouseWheel (juce::MouseInputSource::InputSourceType::mouse, inPeer, juce::Time::currentTimeMillis(), wheel);
}
} // namespace qvtest
