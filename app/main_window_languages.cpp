// TForm1: the two interface languages, the credits view and the check of the folder name
// while it is typed.
#include "app/main_window.h"

#include "app/folder_name.h"

#include "gui/win/application.h"

namespace nestora::app {

namespace {

constexpr gui::TColor kFrameColor = 0x00E7E7E7;
constexpr gui::TColor kCreditsTextColor = 0x00BA681F;
constexpr gui::TColor kLabelTextColor = 0x00020202;
constexpr gui::TColor kLabelColor = 0x00BF9857;

void SetCaptionAt(gui::TMenuItem& parent, int position, std::wstring_view caption) {
    if (position < parent.Count())
        parent.Items(position)->SetCaption(std::wstring(caption));
}

} // namespace

void TForm1::SetLanguageRu() {
    ApplyLanguage(Language::russian);
}

void TForm1::SetLanguageEn() {
    ApplyLanguage(Language::english);
}

void TForm1::ApplyLanguage(Language language) {
    language_ = language;
    const LanguageTexts& texts = Texts();
    FormMain->SetCaption(std::wstring(texts.windowCaption));
    SetCaption(std::wstring(texts.windowCaption));
    gui::Application().SetTitle(std::wstring(texts.applicationTitle));
    Label2->SetCaption(std::wstring(texts.folderNameLabel));
    gui::TMenuItem& items = PopupMenu->Items();
    for (const MenuCaption& caption : texts.trayMenuCaptions)
        SetCaptionAt(items, caption.position, caption.text);
    if (items.Count() > 1) {
        for (const MenuCaption& caption : texts.languageMenuCaptions)
            SetCaptionAt(*items.Items(1), caption.position, caption.text);
    }
    // The same hint rule as everywhere: "Hot key: " with nothing after it would tell the
    // user of a hotkey that isn't there.
    UpdateTrayHint();
    AboutCredits(false);
}

void TForm1::LangRusClick(TObject*) {
    SetLanguageRu();
    LangRus->SetChecked(true);
    LangEn->SetChecked(false);
    EditNameFolder->SetText(DefaultFolderName());
}

void TForm1::LangEnClick(TObject*) {
    SetLanguageEn();
    LangRus->SetChecked(false);
    LangEn->SetChecked(true);
    EditNameFolder->SetText(DefaultFolderName());
}

void TForm1::AboutCredits(bool show) {
    if (show) {
        Label1->SetAlign(gui::TAlign::alClient);
        Label1->SetColor(kFrameColor);
        Label1->Font().SetColor(kCreditsTextColor);
        Label1->SetCaption(CreditsText());
        EditHotKey->Hide();
        Label2->Hide();
        EditNameFolder->Hide();
        return;
    }
    Label1->SetAlign(gui::TAlign::alNone);
    Label1->SetCaption(HotKeyHintPrefix());
    Label1->Font().SetColor(kLabelTextColor);
    Label1->SetDesignBounds(20, 32, 129, 13);
    Label1->SetColor(kLabelColor);
    EditHotKey->Show();
    Label2->Show();
    EditNameFolder->Show();
}

void TForm1::EditNameFolderKeyUp(TObject*, unsigned short&, gui::TShiftState) {
    // Text pasted with the mouse is looked at with the next key released here.
    if (EditNameFolder->Text().find_first_of(kForbiddenNameCharacters) == std::wstring::npos)
        return;
    gui::TApplication& application = gui::Application();
    application.MessageBox(BadNameMessageText(Texts()), application.Title(), MB_OK);
    EditNameFolder->SetText(DefaultFolderName());
}

} // namespace nestora::app
