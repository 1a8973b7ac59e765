// The measure of the start-up benchmark: a wxWidgets program that shows one
// empty frame the way zib shows its main window (the display's work area,
// maximised), built with the same compiler, flags and wxWidgets libraries.

#include <wx/display.h>
#include <wx/frame.h>
#include <wx/app.h>

class BareFrameApp : public wxApp {
public:
    bool OnInit() override
    {
        auto* frame = new wxFrame(nullptr, wxID_ANY, "Bare");
        frame->SetSize(wxDisplay(frame).GetClientArea());
        frame->Maximize(true);
        frame->Show();
        return true;
    }
};

wxIMPLEMENT_APP(BareFrameApp);
