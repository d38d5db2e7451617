// The look and feel's colour table: {colour id, ARGB} in the order the
// constructor applies it. Ids are the GUI library's component colour ids;
// Label::backgroundColourId and Label::textColourId occur twice and the later
// pair is the one that stays.
#include "QVLookAndFeel.h"

const QVLookAndFeel::ColourPair QVLookAndFeel::colourTable[QVLookAndFeel::numColourPairs] = {
    { 0x1000100, 0xFFDDDDDD }, // TextButton::buttonColourId
    { 0x1000101, 0xFF4444FF }, // TextButton::buttonOnColourId
    { 0x1000103, 0xFF000000 }, // TextButton::textColourOnId
    { 0x1000102, 0xFF000000 }, // TextButton::textColourOffId
    { 0x1006501, 0xFFFFFFFF }, // ToggleButton::textColourId
    { 0x1000200, 0xFFFFFFFF }, // TextEditor::backgroundColourId
    { 0x1000201, 0xFF00FF00 }, // TextEditor::textColourId
    { 0x1000202, 0x33000000 }, // TextEditor::highlightColourId
    { 0x1000203, 0xFFFFFFFF }, // TextEditor::highlightedTextColourId
    { 0x1000205, 0x00000000 }, // TextEditor::outlineColourId
    { 0x1000206, 0xFFDDDDDD }, // TextEditor::focusedOutlineColourId
    { 0x1000207, 0x00000000 }, // TextEditor::shadowColourId
    { 0x1000204, 0xFFFFFFFF }, // CaretComponent::caretColourId
    { 0x1000280, 0x00000000 }, // Label::backgroundColourId
    { 0x1000281, 0xFF000000 }, // Label::textColourId
    { 0x1000282, 0x00000000 }, // Label::outlineColourId
    { 0x1000300, 0x00000000 }, // ScrollBar::backgroundColourId
    { 0x1000400, 0xFFFFFFFF }, // ScrollBar::thumbColourId
    { 0x1000501, 0x4C000000 }, // TreeView::linesColourId
    { 0x1000500, 0x00000000 }, // TreeView::backgroundColourId
    { 0x1000502, 0x80FF0000 }, // TreeView::dragAndDropIndicatorColourId
    { 0x1000700, 0xFFFFFFFF }, // PopupMenu::backgroundColourId
    { 0x1000600, 0xFF000000 }, // PopupMenu::textColourId
    { 0x1000601, 0xFF000000 }, // PopupMenu::headerTextColourId
    { 0x1000800, 0xFFFFFFFF }, // PopupMenu::highlightedTextColourId
    { 0x1000900, 0x991111AA }, // PopupMenu::highlightedBackgroundColourId
    { 0x1000A00, 0xFFDDDDDD }, // ComboBox::textColourId
    { 0x1000B00, 0x55000000 }, // ComboBox::backgroundColourId
    { 0x1000E00, 0xFFDDDDDD }, // ComboBox::arrowColourId
    { 0x1002800, 0xFFFFFFFF }, // ListBox::backgroundColourId
    { 0x1002810, 0xB2808080 }, // ListBox::outlineColourId
    { 0x1002820, 0xFF000000 }, // ListBox::textColourId
    { 0x1001200, 0xFFAAAAAA }, // Slider::backgroundColourId
    { 0x1001300, 0xFF000000 }, // Slider::thumbColourId
    { 0x1001310, 0xFFFFFFFF }, // Slider::trackColourId
    { 0x1001311, 0xDDFFFFFF }, // Slider::rotarySliderFillColourId
    { 0x1001312, 0x66000000 }, // Slider::rotarySliderOutlineColourId
    { 0x1001400, 0xFFEDEDED }, // Slider::textBoxTextColourId
    { 0x1001500, 0xFF222222 }, // Slider::textBoxBackgroundColourId
    { 0x1001600, 0x33000000 }, // Slider::textBoxHighlightColourId
    { 0x1001700, 0xFF000000 }, // Slider::textBoxOutlineColourId
    { 0x1000280, 0x55000000 }, // Label::backgroundColourId
    { 0x1000281, 0xFFEDEDED }, // Label::textColourId
    { 0x1005700, 0xFF777777 }, // ResizableWindow::backgroundColourId
    { 0x1001800, 0xFFEDEDED }, // AlertWindow::backgroundColourId
    { 0x1001810, 0xFF000000 }, // AlertWindow::textColourId
    { 0x1001820, 0xFF666666 }, // AlertWindow::outlineColourId
    { 0x1001900, 0xFFEEEEEE }, // ProgressBar::backgroundColourId
    { 0x1001A00, 0xFFAAAAEE }, // ProgressBar::foregroundColourId
    { 0x1001B00, 0xFFEEEEBB }, // TooltipWindow::backgroundColourId
    { 0x1001C00, 0xFF000000 }, // TooltipWindow::textColourId
    { 0x1001C10, 0x4C000000 }, // TooltipWindow::outlineColourId
    { 0x1005800, 0x00000000 }, // TabbedComponent::backgroundColourId
    { 0x1005801, 0xFF777777 }, // TabbedComponent::outlineColourId
    { 0x1005812, 0x80000000 }, // TabbedButtonBar::tabOutlineColourId
    { 0x1005814, 0x90000000 }, // TabbedButtonBar::frontOutlineColourId
    { 0x1003200, 0xFFF6F8F9 }, // Toolbar::backgroundColourId
    { 0x1003210, 0x4C000000 }, // Toolbar::separatorColourId
    { 0x1003220, 0x4C0000FF }, // Toolbar::buttonMouseOverBackgroundColourId
    { 0x1003230, 0x800000FF }, // Toolbar::buttonMouseDownBackgroundColourId
    { 0x1003240, 0xFF000000 }, // Toolbar::labelTextColourId
    { 0x1003250, 0xFFFF0000 }, // Toolbar::editingModeOutlineColourId
    { 0x1001F00, 0xCC1111EE }, // HyperlinkButton::textColourId
    { 0x1005400, 0x66000000 }, // GroupComponent::outlineColourId
    { 0x1005410, 0xFF000000 }, // GroupComponent::textColourId
    { 0x1000540, 0x33000000 }, // DirectoryContentsDisplayComponent::highlightColourId
    { 0x1000541, 0xFF000000 }, // DirectoryContentsDisplayComponent::textColourId
    { 0x1000440, 0x66DDDDDD }, // lasso fill
    { 0x1000441, 0x99111111 }, // lasso outline
    { 0x1005000, 0xFFFFFFFF }, // MIDI keyboard white note
    { 0x1005001, 0xFF000000 }, // MIDI keyboard black note
    { 0x1005002, 0x66000000 }, // MIDI keyboard key separator line
    { 0x1005003, 0x80FFFF00 }, // MIDI keyboard mouse-over key overlay
    { 0x1005004, 0xFFB6B600 }, // MIDI keyboard key-down overlay
    { 0x1005005, 0xFF000000 }, // MIDI keyboard text label
    { 0x1005006, 0xFFD3D3D3 }, // MIDI keyboard up/down button background
    { 0x1005007, 0xFF000000 }, // MIDI keyboard up/down button arrow
    { 0x1004500, 0xFFFFFFFF }, // code editor background
    { 0x1004502, 0x33000000 }, // code editor highlight
    { 0x1004503, 0xFF000000 }, // code editor default text
    { 0x1007000, 0xFFE5E5E5 }, // colour selector background
    { 0x1007001, 0xFF000000 }, // colour selector label text
    { 0x100AD00, 0x00000000 }, // key-mapping editor background
    { 0x100AD01, 0xFF000000 }, // key-mapping editor text
    { 0x1004100, 0xFFFFFFFF }, // FileSearchPathListComponent::backgroundColourId
    { 0x1000850, 0xFF000000 }, // FileChooserDialogBox::titleTextColourId
    { 0x1004010, 0xFF000000 }, // DrawableButton::textColourId
};
