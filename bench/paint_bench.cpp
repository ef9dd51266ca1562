// Painting: one paint of the settings window's title bar (the MacOS look, a minimise and a
// help button, 168 pixels wide, as the program has it) through WM_PAINT on a shown window,
// and one drawing of the tray menu's six items (DeepBlue, 21-pixel items, 5-pixel
// separators, a 16 by 16 image list, as the program's description sets them) onto a
// memory bitmap. 10,000 of each, in turns; the per-call median, and the GDI and USER
// objects the graphics layer holds (and the system's own count where it gives one)
// before and after, which must be equal.
#include "gui/win/graphics_win32.h"

#include "bench/bench_stats.h"

#include "gui/win/application.h"
#include "gui/win/bitmap.h"
#include "gui/win/canvas.h"
#include "gui/win/form.h"
#include "gui/win/graphics_counters.h"
#include "gui/win/image_list.h"
#include "gui/win/menu.h"
#include "skin/menus/sui_popup_menu.h"
#include "skin/sui_form.h"
#include "skin/sui_title_bar.h"
#include "tests/gui/win/graphics_test_support.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

using namespace nestora;
using skin::TsuiUIStyle;

struct Objects {
    long gdi = nestora::gui::HandleCounters::LiveGdiObjects();
    long user = nestora::gui::HandleCounters::LiveUserObjects();
    long systemGdi = nestora::gui::ProcessGdiObjects();
    long systemUser = nestora::gui::ProcessUserObjects();
    bool operator==(const Objects&) const = default;
};

std::string ObjectsText(const Objects& o) {
    return std::to_string(o.gdi) + " / " + std::to_string(o.user) + " (system " +
           std::to_string(o.systemGdi) + " / " + std::to_string(o.systemUser) + ")";
}

} // namespace

int main(int argc, char** argv) {
    const int repetitions = argc > 1 ? std::atoi(argv[1]) : 10000;
    nestora::gui::TApplication application;
    application.Initialize();

    // The settings window's frame and title bar.
    nestora::gui::TForm* form = nestora::gui::Create<nestora::gui::TForm>(&application);
    form->SetBorderStyle(nestora::gui::TFormBorderStyle::bsSingle);
    form->SetBounds(120, 90, 176, 160);
    auto* frame = nestora::gui::Create<skin::TsuiForm>(form);
    frame->SetUIStyle(TsuiUIStyle::MacOS);
    frame->SetFrameWidth(168);
    frame->SetFrameHeight(133);
    skin::TsuiTitleBar& bar = frame->TitleBar();
    bar.Buttons().Clear();
    for (const auto type :
         {skin::TsuiTitleBarBtnType::suiMin, skin::TsuiTitleBarBtnType::suiHelp}) {
        skin::TsuiTitleBarButton* button = bar.Buttons().Add();
        button->SetUIStyle(TsuiUIStyle::MacOS);
        button->SetButtonType(type);
    }
    form->SetCaption(L"Nestora");
    form->Show();
    application.ProcessMessages();
    const HWND barWindow = bar.Handle();

    // The tray menu.
    nestora::gui::ComponentPtr<nestora::gui::TImageList> images = nestora::gui::MakeComponent<nestora::gui::TImageList>();
    for (const nestora::gui::TColor color : {nestora::gui::clRed, nestora::gui::clBlue, nestora::gui::clLime}) {
        nestora::gui::TBitmap image;
        nestora::gui::testing::MakeFilled(image, 16, 16, color);
        images->AddMasked(image, nestora::gui::clFuchsia);
    }
    nestora::gui::ComponentPtr<skin::TsuiPopupMenu> menu = nestora::gui::MakeComponent<skin::TsuiPopupMenu>();
    menu->SetImages(images.get());
    menu->SetUIStyle(TsuiUIStyle::DeepBlue);
    menu->SetMenuItemHeight(21);
    menu->SetSeparatorHeight(5);
    menu->SetBarWidth(26);
    nestora::gui::TMenuItem& root = menu->Items();
    nestora::gui::TMenuItem* show = root.AddItem(L"Show window");
    show->SetImageIndex(1);
    nestora::gui::TMenuItem* language = root.AddItem(L"Language");
    language->AddItem(L"Russian")->SetChecked(true);
    language->AddItem(L"English");
    root.AddItem(L"-");
    root.AddItem(L"Start with Windows")->SetChecked(true);
    root.AddItem(L"-");
    root.AddItem(L"Exit")->SetImageIndex(0);

    nestora::gui::TBitmap measureBitmap;
    nestora::gui::testing::MakeFilled(measureBitmap, 8, 8, nestora::gui::clWhite);
    std::vector<nestora::gui::TRect> rects;
    int top = 0, widest = 0;
    for (int i = 0; i < root.Count(); ++i) {
        int width = 0, height = 0;
        menu->MeasureMenuItem(root.Items(i), measureBitmap.Canvas(), width, height);
        rects.push_back(nestora::gui::MakeRect(0, top, width, top + height));
        top += height;
        widest = std::max(widest, width);
    }
    for (auto& rect : rects)
        rect.Right = widest;
    nestora::gui::TBitmap target;
    nestora::gui::testing::MakeFilled(target, widest, top, nestora::gui::clWhite);

    auto paintBar = [&] {
        ::RedrawWindow(barWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    };
    auto drawMenu = [&] {
        for (int i = 0; i < root.Count(); ++i)
            menu->DrawMenuItem(root.Items(i), target.Canvas(), rects[static_cast<std::size_t>(i)],
                               i == 0);
    };

    // Once each first: whatever is made on first use and kept is made before the count.
    paintBar();
    drawMenu();
    application.ProcessMessages();
    bench::Table table({"drawing", "us per call (median)", "GDI / USER objects before", "after"});
    bool met = true;
    auto measure = [&](const char* name, const std::function<void()>& draw) {
        const Objects before;
        const double perCall = bench::Median(bench::TimeInTurns(repetitions, {draw})[0]);
        application.ProcessMessages();
        const Objects after;
        met = met && before == after;
        table.AddRow({name, bench::Fixed(perCall, 1), ObjectsText(before), ObjectsText(after)});
    };
    measure("title bar, one WM_PAINT", paintBar);
    measure("tray menu, its 6 items", drawMenu);
    form->Free();

    std::printf("Painting (%d calls of each; objects counted by the graphics layer, the "
                "system's own count in brackets, 0 where it gives none)\n\n%s\n",
                repetitions, table.Render().c_str());
    std::printf("target: the same objects before and after: %s\n", met ? "met" : "MISSED");
    return met ? 0 : 1;
}
