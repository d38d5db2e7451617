#include "ParamsPanel.h"

#include "Animation.h"

#include <cmath>
#include <iterator>
#include <vector>

#include "NumberText.h"
#include "QVLookAndFeel.h"

namespace
{
constexpr int noParameter = -1;

// The parameter each row writes and follows. The "ALL" row stands for the
// five patterns 8 to 12 together; the titles have none.
constexpr int parameterOfRow[ParamsPanel::numRows] = {
    noParameter, 4, 5, 6, 7,          // MIC ORIENTATION, ROTATION, FRONT TILT, REAR TILT, ZOOM
    noParameter, 13, 14, 15,          // WIDTH, L / R, LS / RS, RLS / RRS
    noParameter, 8, 9, 10, 11, 12,    // POLARS, L / R, C, LS / RS, RLS / RRS, R C
    noParameter,                      // ALL
};

constexpr int firstPatternParameter = 8;
constexpr int patternParameters[] = { 8, 9, 10, 11, 12 }; // what the ALL row and button write

constexpr int rowWidth = 216;
constexpr int titleHeight = 18;
constexpr int rotaryHeight = 28;
constexpr int sliderHeight = 20;
constexpr int constructionGap = 5; // between rows until the first layout

// The "ALL" button in the POLARS title row.
constexpr int allButtonRightInset = 49; // its x is the row's width less this
constexpr int allButtonY = 2;
constexpr int allButtonWidth = 27;
constexpr int allButtonHeight = 13;

constexpr int patternDecimals = 2; // pattern values are shown as "%1.2f"

int ParameterOfRow (int id)
{
    return id >= 0 && id < ParamsPanel::numRows ? parameterOfRow[id] : noParameter;
}

// Every parameter a row's slider writes: the five patterns for the ALL row,
// none for a title or an unknown id.
std::vector<int> ParametersOfRow (int id)
{
    if (id == ParamsPanel::allPatternsRow)
        return { std::begin (patternParameters), std::end (patternParameters) };

    if (const int parameter = ParameterOfRow (id); parameter != noParameter)
        return { parameter };

    return {};
}

// Texts of rows 1 to 4 and 6 to 8 are the processor's own.
bool ShowsProcessorText (int id)
{
    return (id >= ParamsPanel::rotationRow && id <= ParamsPanel::zoomRow)
           || (id >= ParamsPanel::frontWidthRow && id <= ParamsPanel::rearWidthRow);
}

bool IsPatternRow (int id)
{
    return id >= ParamsPanel::frontPatternRow && id <= ParamsPanel::allPatternsRow;
}
} // namespace

//==============================================================================
ParamsPanel::ParamsPanel (Quorvane2AudioProcessor& p)
    : processor (p)
{
    setName ("Params");

    enum class Kind { title, rotary, slider };
    struct RowSpec
    {
        int id;
        Kind kind;
        const char* text;
        int steps, divisor; // slider positions from 0 to 1; typed numbers are divided by the divisor
        bool centred, raw;
        juce::Colour colour;
        int below;          // the row placed above this one at construction; -1 for the first
    };

    using LF = QVLookAndFeel;
    const auto white = juce::Colours::white;

    // In order of construction; on screen the rows stand in order of id once a
    // layout is applied. The ALL row and the C row share the place below the
    // POLARS title, and L / R follows C. Zoom shows its value less 0.5, so a
    // typed number only needs the 0.5 back (divisor 1, centred).
    const RowSpec table[] = {
        { micOrientationTitle, Kind::title, "MIC ORIENTATION", 0, 0, false, false, {}, -1 },
        { rotationRow, Kind::rotary, "ROTATION", 360, 360, false, false, white, micOrientationTitle },
        { frontTiltRow, Kind::slider, "FRONT TILT", 90, 180, true, false, LF::Col_LRPolar, rotationRow },
        { rearTiltRow, Kind::slider, "REAR TILT", 90, 180, true, false, LF::Col_LsRsPolar, frontTiltRow },
        { zoomRow, Kind::slider, "ZOOM", 100, 1, true, false, white, rearTiltRow },
        { widthTitle, Kind::title, "WIDTH", 0, 0, false, false, {}, zoomRow },
        { frontWidthRow, Kind::slider, "L / R", 180, 180, false, false, LF::Col_LRPolar, widthTitle },
        { rearWidthRow, Kind::slider, "RLS / RRS", 180, 180, false, false, LF::Col_RLsRRsPolar, frontWidthRow },
        { sideWidthRow, Kind::slider, "LS / RS", 180, 180, false, false, LF::Col_LsRsPolar, rearWidthRow },
        { polarsTitle, Kind::title, "POLARS", 0, 0, false, false, {}, sideWidthRow },
        { allPatternsRow, Kind::slider, "ALL", 100, 100, false, true, white, polarsTitle },
        { centrePatternRow, Kind::slider, "C", 100, 100, false, true, LF::Col_CentrePolar, polarsTitle },
        { frontPatternRow, Kind::slider, "L / R", 100, 100, false, true, LF::Col_LRPolar, centrePatternRow },
        { rearPatternRow, Kind::slider, "RLS / RRS", 100, 100, false, true, LF::Col_RLsRRsPolar, frontPatternRow },
        { sidePatternRow, Kind::slider, "LS / RS", 100, 100, false, true, LF::Col_LsRsPolar, rearPatternRow },
        { rearCentrePatternRow, Kind::slider, "R C", 100, 100, false, true, LF::Col_RLsRRsPolar, sidePatternRow },
    };

    for (const auto& r : table)
    {
        ParameterContainer* row = nullptr;
        int height = sliderHeight;

        if (r.kind == Kind::title)
        {
            row = new LabelContainer (r.id, this, r.text);
            height = titleHeight;
        }
        else if (r.kind == Kind::rotary)
        {
            row = new RotaryParameterContainer (r.id, this, r.text, r.colour);
            height = rotaryHeight;
        }
        else
        {
            row = new SliderParameterContainer (r.id, r.steps, r.divisor, r.centred, r.raw, this, r.text, r.colour);
        }

        AddRow (row, height, r.below < 0 ? nullptr : rowMap[r.below]);

        if (r.id == polarsTitle)
        {
            allButton = std::make_unique<GlowingButton> ("ALL", juce::Colours::orange);
            allButton->setBounds (row->getWidth() - allButtonRightInset, allButtonY, allButtonWidth, allButtonHeight);
            allButton->addListener (this);
            row->addAndMakeVisible (*allButton);
        }
    }

    processor.quorvaneListeners.add (this); // once: the list refuses duplicates
}

ParamsPanel::~ParamsPanel()
{
    // A slide still running holds a picture of its row; end it with the row.
    auto& animator = juce::Desktop::getInstance().getAnimator();

    for (auto* row : rows)
        animator.cancelAnimation (row, false);

    // The editor empties the processor's list before deleting its panels; a
    // panel deleted on its own must not stay behind in it either.
    processor.quorvaneListeners.remove (this);

    allButton.reset();
    rowMap.clear();
    rows.clear (true);
}

void ParamsPanel::AddRow (ParameterContainer* row, int height, ParameterContainer* below)
{
    const int y = below == nullptr ? firstRowY : below->getBottom() + constructionGap;
    row->setBounds (shownX, y, rowWidth, height);
    rows.add (row);
    rowMap.set (row->id, row);
}

//==============================================================================
void ParamsPanel::resized()
{
    // Rows are placed at construction and by FormatPanel.
}

void ParamsPanel::paint (juce::Graphics& g)
{
    QVLookAndFeel::DrawPanelBackground (g, this);
}

//==============================================================================
void ParamsPanel::sliderValueChanged (juce::Slider* slider)
{
    auto* row = slider != nullptr ? dynamic_cast<ParameterContainer*> (slider->getParentComponent()) : nullptr;

    if (row == nullptr)
        return;

    const float value = (float) slider->getValue();

    // Inside the slider's change when it frames one; framed here otherwise.
    if (row->id == allPatternsRow)
    {
        gestures.Framed (patternParameters, [&] { processor.setAllPolars (value); });
        return;
    }

    const int parameter = ParameterOfRow (row->id);

    if (parameter != noParameter)
        gestures.Framed ({ parameter }, [&] { processor.setParameterNotifyingHost (parameter, value); });
}

juce::String ParamsPanel::getTextFromValue (int id, double value)
{
    // The processor's text of the parameter's current value, not of the value passed.
    if (ShowsProcessorText (id))
        return processor.getParameterText (ParameterOfRow (id));

    if (IsPatternRow (id))
        return NumberText::Fixed (value, patternDecimals);

    return ParameterSliderListener::getTextFromValue (id, value);
}

void ParamsPanel::resetToDefaultValue (int id)
{
    const auto parameters = ParametersOfRow (id);

    gestures.Framed (parameters, [&] {
        for (int parameter : parameters)
            processor.resetParameterToDefault (parameter);
    });
}

void ParamsPanel::changeStarted (int id)
{
    for (int parameter : ParametersOfRow (id))
        gestures.Begin (parameter);
}

void ParamsPanel::changeEnded (int id)
{
    for (int parameter : ParametersOfRow (id))
        gestures.End (parameter);
}

void ParamsPanel::buttonClicked (juce::Button* button)
{
    if (button != allButton.get())
        return;

    // The button has already flipped: lay out for its new state, then give
    // all five patterns the L / R pattern when it is on.
    FormatPanel();

    if (allButton->getToggleState())
        gestures.Framed (patternParameters, [this] { processor.setAllPolars (rowMap[frontPatternRow]->GetValue()); });
}

void ParamsPanel::ParameterChangedFloat (int index, float value)
{
    if (index == Quorvane2AudioProcessor::kArraySelectIndex)
    {
        FormatPanel();
        return;
    }

    // A value that is not finite is no position; any other index matches no row.
    if (! std::isfinite (value) || index == noParameter)
        return;

    for (int id = 0; id < numRows; ++id)
        if (parameterOfRow[id] == index)
            rowMap[id]->SetValue (value);

    // The ALL row follows the L / R pattern.
    if (index == firstPatternParameter)
        rowMap[allPatternsRow]->SetValue (value);
}

//==============================================================================
void ParamsPanel::FormatPanel()
{
    const OutputStemFormat format = processor.GetOutputFormat();
    auto& frontTilt = *rowMap[frontTiltRow];

    for (auto* row : rows)
        row->shown = true;

    if (format == kOutputFormatBFormat)
    {
        frontTilt.SetText ("TILT");

        // Only rotation, tilt and zoom; the "ALL" button goes with its title row.
        for (int id : { rearTiltRow, widthTitle, polarsTitle, frontWidthRow, rearWidthRow, sideWidthRow, frontPatternRow,
                        centrePatternRow, rearPatternRow, sidePatternRow, rearCentrePatternRow, allPatternsRow })
            rowMap[id]->shown = false;
    }
    else
    {
        const bool stereo = format == kOutputFormatStereo;

        // In stereo all patterns are the one L / R pattern already.
        if (stereo)
            allButton->setToggleState (false, juce::dontSendNotification);

        allButton->setVisible (! stereo);

        const bool all = allButton->getToggleState();
        const bool format7 = processor.IsFormat7();
        const bool format6 = processor.IsFormat6();

        rowMap[rearTiltRow]->shown = ! stereo;
        rowMap[rearWidthRow]->shown = format7;
        rowMap[sideWidthRow]->shown = ! stereo;
        rowMap[frontPatternRow]->shown = ! all;
        rowMap[centrePatternRow]->shown = ! stereo && ! all;
        rowMap[rearPatternRow]->shown = format7 && ! all;
        rowMap[sidePatternRow]->shown = ! stereo && ! all;
        rowMap[rearCentrePatternRow]->shown = format6 && ! all;
        rowMap[allPatternsRow]->shown = all;

        frontTilt.SetText ("FRONT TILT");
    }

    // Shown rows close up into a column in order of id; hidden rows slide out
    // to the right and fade, and stay parked there at the height they left.
    constexpr double startSpeed = 0.0, endSpeed = 2.0;
    int y = firstRowY;

    for (int id = 0; id < rows.size(); ++id)
    {
        auto* row = rowMap[id];

        if (row == nullptr)
            continue;

        const int w = row->getWidth(), h = row->getHeight();

        if (! row->shown)
        {
            AnimateComponent (*row, { parkedX, row->getY(), w, h }, 0.0f, slideMs, startSpeed, endSpeed);
            continue;
        }

        if (row->getX() > hiddenBeyondX)
            row->setBounds (parkedX, y, w, h); // was hidden: comes in from the right, at its new height

        AnimateComponent (*row, { shownX, y, w, h }, 1.0f, slideMs, startSpeed, endSpeed);
        y += h + rowGap;
    }
}
