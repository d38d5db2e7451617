// The editor's one look and feel: a dark, flat style with the embedded
// Roboto Bold face, the named palette, font sizes and the label and panel
// helpers that every panel uses.
#pragma once

#include <JuceHeader.h>

class QVLookAndFeel : public juce::LookAndFeel_V2
{
public:
    QVLookAndFeel();
    ~QVLookAndFeel() override = default;

    // Palette.
    static const juce::Colour Col_TabColour;
    static const juce::Colour Col_BackgroundColour;
    static const juce::Colour Col_BackgroundColourHighlight;
    static const juce::Colour Col_CentrePolar;
    static const juce::Colour Col_LRPolar;
    static const juce::Colour Col_LsRsPolar;
    static const juce::Colour Col_RLsRRsPolar;
    static const juce::Colour Col_LFEPolar;
    static const juce::Colour Col_BFormat;

    // Font heights, in juce::Font height units.
    static constexpr float smallFontSize = 11.5f;  // surround display texts
    static constexpr float mediumFontSize = 13.0f; // info texts, glowing buttons, parameter rows
    static constexpr float titleFontSize = 15.5f;  // panel headers

    // Family of every UI font; the embedded face registers under this name.
    static const char* const uiTypefaceName;

    // {colour id, ARGB} pairs applied in order by the constructor; an id that
    // occurs twice takes its later colour.
    struct ColourPair
    {
        juce::uint32 id;
        juce::uint32 argb;
    };
    static constexpr int numColourPairs = 87;
    static const ColourPair colourTable[numColourPairs];

    // Roboto at the height, with a little extra letter spacing above 8 pixels.
    static juce::Font GetUIFont (float height, int styleFlags);

    // Labels; the caller owns each one.
    static juce::Label* MakeAttachedLabel (juce::Component* owner, const juce::String& text);
    static juce::Label* MakeSmallLabel (juce::Component* parent);
    static juce::Label* MakeSliderLabel (juce::Component* parent);

    // The dark plate behind a panel, and the light one behind a group in it.
    static void DrawPanelBackground (juce::Graphics&, juce::Component* panel);
    static void DrawSubPanelBackground (juce::Graphics&, juce::Rectangle<float> area);

    //==============================================================================
    // Overrides, in the base class's order.
    void drawScrollbarButton (juce::Graphics&, juce::ScrollBar&, int width, int height, int buttonDirection,
                              bool isScrollbarVertical, bool isMouseOverButton, bool isButtonDown) override;
    void drawScrollbar (juce::Graphics&, juce::ScrollBar&, int x, int y, int width, int height,
                        bool isScrollbarVertical, int thumbStartPosition, int thumbSize,
                        bool isMouseOver, bool isMouseDown) override;
    juce::Typeface::Ptr getTypefaceForFont (const juce::Font&) override;
    void drawButtonBackground (juce::Graphics&, juce::Button&, const juce::Colour& backgroundColour,
                               bool isMouseOverButton, bool isButtonDown) override;
    void drawToggleButton (juce::Graphics&, juce::ToggleButton&, bool isMouseOverButton, bool isButtonDown) override;
    void drawProgressBar (juce::Graphics&, juce::ProgressBar&, int width, int height,
                          double progress, const juce::String& textToShow) override;
    void fillTextEditorBackground (juce::Graphics&, int width, int height, juce::TextEditor&) override;
    void drawTextEditorOutline (juce::Graphics&, int width, int height, juce::TextEditor&) override;
    void drawComboBox (juce::Graphics&, int width, int height, bool isButtonDown,
                       int buttonX, int buttonY, int buttonW, int buttonH, juce::ComboBox&) override;
    juce::Label* createComboBoxTextBox (juce::ComboBox&) override;
    void positionComboBoxText (juce::ComboBox&, juce::Label&) override;
    void drawLabel (juce::Graphics&, juce::Label&) override;
    void drawLinearSlider (juce::Graphics&, int x, int y, int width, int height,
                           float sliderPos, float minSliderPos, float maxSliderPos,
                           juce::Slider::SliderStyle, juce::Slider&) override;
    void drawLinearSliderBackground (juce::Graphics&, int x, int y, int width, int height,
                                     float sliderPos, float minSliderPos, float maxSliderPos,
                                     juce::Slider::SliderStyle, juce::Slider&) override;
    void drawLinearSliderThumb (juce::Graphics&, int x, int y, int width, int height,
                                float sliderPos, float minSliderPos, float maxSliderPos,
                                juce::Slider::SliderStyle, juce::Slider&) override;
    void drawRotarySlider (juce::Graphics&, int x, int y, int width, int height,
                           float sliderPos, float rotaryStartAngle, float rotaryEndAngle, juce::Slider&) override;
    juce::Label* createSliderTextBox (juce::Slider&) override;
    void drawDocumentWindowTitleBar (juce::DocumentWindow&, juce::Graphics&, int w, int h,
                                     int titleSpaceX, int titleSpaceW,
                                     const juce::Image* icon, bool drawTitleTextOnLeft) override;
    void drawTableHeaderBackground (juce::Graphics&, juce::TableHeaderComponent&) override;
    void drawTableHeaderColumn (juce::Graphics&, juce::TableHeaderComponent&, const juce::String& columnName,
                                int columnId, int width, int height, bool isMouseOver,
                                bool isMouseDown, int columnFlags) override;

    // A pan-style arc track; kept for sliders that want it, no panel uses it.
    virtual void drawPanSliderBackground (juce::Graphics&, int x, int y, int width, int height,
                                          float sliderPos, float minSliderPos, float maxSliderPos,
                                          juce::Slider::SliderStyle, juce::Slider&);

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (QVLookAndFeel)
};

// A downward triangle filling width by height: (0, 0), (width, 0), (width / 2, height).
juce::Path GetDownArrowShape (float width, float height);
