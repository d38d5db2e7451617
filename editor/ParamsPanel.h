// The editor's column of numeric controls: rotation, tilts and zoom ("MIC
// ORIENTATION"), the widths of the speaker pairs ("WIDTH") and the polar
// patterns ("POLARS", with the "ALL" button that sets them together).
//
// A control turns one user action into one processor call and moves nothing
// itself; the rows follow the processor's ParameterChangedFloat, and the
// output layout (parameter 36) decides which rows are shown. Rows slide in
// from and out to the right, fading, whenever that changes.
#pragma once

#include <JuceHeader.h>

#include <memory>

#include "GlowingButton.h"
#include "ParameterContainer.h"
#include "ParameterGestures.h"
#include "ParameterSlider.h"
#include "Quorvane2AudioProcessor.h"

class ParamsPanel : public juce::Component,
                    public juce::Slider::Listener,
                    public ParameterSliderListener,
                    public juce::Button::Listener,
                    public QuorvaneListener
{
public:
    // message thread
    explicit ParamsPanel (Quorvane2AudioProcessor&);
    ~ParamsPanel() override;

    void resized() override;
    void paint (juce::Graphics&) override;

    void sliderValueChanged (juce::Slider*) override;
    juce::String getTextFromValue (int id, double value) override;
    void resetToDefaultValue (int id) override;
    void changeStarted (int id) override;
    void changeEnded (int id) override;
    void buttonClicked (juce::Button*) override;
    void ParameterChangedFloat (int index, float value) override;

    // Shows the rows of the current output layout and the "ALL" state and
    // slides every row to its place.
    void FormatPanel();

    // The row with this id, or null.
    ParameterContainer* getRow (int id) const { return rowMap[id]; }
    GlowingButton& getAllButton() noexcept { return *allButton; }

    // Row ids.
    enum RowId
    {
        micOrientationTitle = 0,
        rotationRow = 1,
        frontTiltRow = 2,
        rearTiltRow = 3,
        zoomRow = 4,
        widthTitle = 5,
        frontWidthRow = 6,
        sideWidthRow = 7,
        rearWidthRow = 8,
        polarsTitle = 9,
        frontPatternRow = 10,
        centrePatternRow = 11,
        sidePatternRow = 12,
        rearPatternRow = 13,
        rearCentrePatternRow = 14,
        allPatternsRow = 15,
        numRows = 16
    };

    // Where a row slides and how long it takes.
    static constexpr int shownX = 5;       // x of every shown row
    static constexpr int parkedX = 255;    // x of a hidden row, right of the 206-pixel panel
    static constexpr int hiddenBeyondX = 250; // a row further right was hidden
    static constexpr int firstRowY = 5;
    static constexpr int rowGap = 2;       // between shown rows after a layout change
    static constexpr int slideMs = 300;

private:
    void AddRow (ParameterContainer* row, int height, ParameterContainer* below);

    juce::OwnedArray<ParameterContainer> rows;
    juce::HashMap<int, ParameterContainer*> rowMap { 101 };
    std::unique_ptr<GlowingButton> allButton;
    Quorvane2AudioProcessor& processor;
    ParameterGestures gestures { processor }; // after the processor: ends what a closing editor cut short

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ParamsPanel)
};
