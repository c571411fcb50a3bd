// The dialogs on Windows: modal windows built at run time from the controls'
// pixel positions (no dialog units, so the stated sizes hold), the shell's
// folder chooser and the common file-open dialog.
#include <cstring>
#include <string>
#include <vector>

#include "platform/dialog_script.h"
#include "platform/environment.h"
#include "platform/file_system.h"
#include "platform/win32/compat.h"

#include <commdlg.h>
#include <shlobj.h>

namespace kestro::platform {
namespace {

constexpr int kIdCheck = 110;
constexpr int kIdData = 120;
constexpr int kIdAbout = 121;
constexpr int kIdRadio = 130;    // + action index
constexpr int kIdPicture = 140;  // + action index
constexpr int kIdSettingsOk = 301;
constexpr int kIdSettingsCancel = 302;
constexpr int kIdBrowse = 303;
constexpr int kIdItem = 311;  // + item index
constexpr int kIdEdit = 320;
constexpr int kIdLabel = 321;

// An empty dialog template: the window gets its controls when it opens.
class DialogTemplate {
 public:
  DialogTemplate(DWORD style, const std::string& caption) {
    int n = MultiByteToWideChar(CP_ACP, 0, caption.c_str(), -1, nullptr, 0);
    if (n < 1) n = 1;
    // The header, a zero menu word, a zero class word, the title; the whole
    // starting on a DWORD boundary.
    const std::size_t title_at = sizeof(DLGTEMPLATE) + 2 * sizeof(WORD);
    const std::size_t size = title_at + static_cast<std::size_t>(n) * sizeof(WCHAR);
    storage_.assign((size + 3) / 4, 0);
    auto* base = reinterpret_cast<unsigned char*>(storage_.data());
    DLGTEMPLATE header{};
    header.style = style;  // no items; position and size are set on opening
    std::memcpy(base, &header, sizeof header);
    MultiByteToWideChar(CP_ACP, 0, caption.c_str(), -1, reinterpret_cast<WCHAR*>(base + title_at), n);
  }
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(storage_.data()); }

 private:
  std::vector<DWORD> storage_;
};

HFONT MakeFont(const FontFace& font) {
  return CreateFontA(-font.height_pixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                     font.name.c_str());
}

HWND AddControl(HWND parent, HFONT font, const char* cls, const std::string& text, DWORD style, const Rect& r,
                int id, DWORD ex_style = 0) {
  HWND h = CreateWindowExA(ex_style, cls, text.c_str(), WS_CHILD | style, r.left, r.top, r.width, r.height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
  SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return h;
}

// Gives the window the client size asked for, at a place or centred.
void PlaceWindow(HWND hwnd, int client_width, int client_height, bool centre, int left, int top) {
  RECT r{0, 0, client_width, client_height};
  AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_EXSTYLE)));
  int width = r.right - r.left, height = r.bottom - r.top;
  if (centre) {
    left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  }
  SetWindowPos(hwnd, nullptr, left, top, width, height, SWP_NOZORDER);
}

// ---- The four action pictures, 44 x 20 pixels ----------------------------

void Handheld(HDC dc, int x, bool grey) {
  HPEN pen = CreatePen(PS_SOLID, 1, grey ? RGB(160, 160, 160) : RGB(0, 0, 0));
  HBRUSH body = CreateSolidBrush(grey ? RGB(212, 212, 212) : RGB(96, 96, 96));
  HBRUSH screen = CreateSolidBrush(grey ? RGB(232, 232, 232) : RGB(160, 200, 160));
  HGDIOBJ old_pen = SelectObject(dc, pen);
  HGDIOBJ old_brush = SelectObject(dc, body);
  RoundRect(dc, x, 1, x + 11, 19, 3, 3);
  SelectObject(dc, screen);
  Rectangle(dc, x + 2, 3, x + 9, 11);
  SelectObject(dc, old_pen);
  SelectObject(dc, old_brush);
  DeleteObject(pen);
  DeleteObject(body);
  DeleteObject(screen);
}

void Desktop(HDC dc, int x, bool grey) {
  HPEN pen = CreatePen(PS_SOLID, 1, grey ? RGB(160, 160, 160) : RGB(0, 0, 0));
  HBRUSH case_brush = CreateSolidBrush(grey ? RGB(212, 212, 212) : RGB(192, 192, 192));
  HBRUSH screen = CreateSolidBrush(grey ? RGB(232, 232, 232) : RGB(0, 0, 128));
  HGDIOBJ old_pen = SelectObject(dc, pen);
  HGDIOBJ old_brush = SelectObject(dc, case_brush);
  Rectangle(dc, x, 1, x + 15, 13);      // monitor
  Rectangle(dc, x + 5, 13, x + 10, 15);  // neck
  Rectangle(dc, x - 1, 15, x + 16, 19);  // base unit
  SelectObject(dc, screen);
  Rectangle(dc, x + 2, 3, x + 13, 11);
  SelectObject(dc, old_pen);
  SelectObject(dc, old_brush);
  DeleteObject(pen);
  DeleteObject(case_brush);
  DeleteObject(screen);
}

// A horizontal arrow from from_x to to_x at height y.
void Arrow(HDC dc, int from_x, int to_x, int y) {
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, from_x, y, nullptr);
  LineTo(dc, to_x, y);
  int back = to_x > from_x ? -3 : 3;
  MoveToEx(dc, to_x + back, y - 3, nullptr);
  LineTo(dc, to_x, y);
  LineTo(dc, to_x + back, y + 4);
  SelectObject(dc, old);
  DeleteObject(pen);
}

void DrawActionPicture(HDC dc, const RECT& r, int action) {
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  SaveDC(dc);
  SetViewportOrgEx(dc, r.left, r.top, nullptr);
  const int hh = 1, pc = 28, left = 14, right = 26;  // handheld, desktop, the gap between
  switch (action) {
    case 0:  // both ways
      Handheld(dc, hh, false);
      Desktop(dc, pc, false);
      Arrow(dc, left, right, 6);
      Arrow(dc, right, left, 13);
      break;
    case 1:  // the desktop overwrites a greyed handheld
      Handheld(dc, hh, true);
      Desktop(dc, pc, false);
      Arrow(dc, right, left, 10);
      break;
    case 2:  // the handheld overwrites a greyed desktop
      Handheld(dc, hh, false);
      Desktop(dc, pc, true);
      Arrow(dc, left, right, 10);
      break;
    default: {  // nothing: both greyed, a pause sign between
      Handheld(dc, hh, true);
      Desktop(dc, pc, true);
      HBRUSH bar = CreateSolidBrush(RGB(0, 0, 0));
      RECT b1{17, 5, 19, 15}, b2{21, 5, 23, 15};
      FillRect(dc, &b1, bar);
      FillRect(dc, &b2, bar);
      DeleteObject(bar);
    }
  }
  RestoreDC(dc, -1);
}

// ---- Snapshots for the documentation ---------------------------------------
// With KESTRO_DIALOG_SNAPSHOT naming a folder, each window saves a picture of
// itself there (<name>.bmp) shortly after it opens, opens the settings window
// from its data button when it has one, and then closes with Cancel.

constexpr UINT_PTR kSnapshotTimer = 1;

std::optional<std::string> SnapshotFolder() {
  auto folder = GetEnv("KESTRO_DIALOG_SNAPSHOT");
  if (!folder || folder->empty()) return std::nullopt;
  return folder;
}

void StartSnapshot(HWND hwnd) {
  if (SnapshotFolder()) SetTimer(hwnd, kSnapshotTimer, 800, nullptr);
}

// Saves the window as it shows on the screen, frame included, as a 24-bit BMP.
void SaveSnapshot(HWND hwnd, const std::string& name) {
  auto folder = SnapshotFolder();
  if (!folder) return;
  UpdateWindow(hwnd);
  RECT r{};
  GetWindowRect(hwnd, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  if (width <= 0 || height <= 0) return;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;  // bottom-up rows, as a BMP file holds them
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  const DWORD row = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  std::string pixels(static_cast<std::size_t>(row) * static_cast<std::size_t>(height), '\0');
  GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
            DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
  bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
  bytes += pixels;
  static int taken = 0;  // numbered in the order the windows opened
  WriteFileAtomically(*folder + "\\" + std::to_string(++taken) + "-" + name + ".bmp", bytes);
}

// ---- The HotSync action window -------------------------------------------

struct ActionWindow {
  ActionFormControls* form;
  HFONT font;
  HWND radios[4];
  HWND check, data, about;
};

void ReadActionState(ActionWindow& w) {
  for (int i = 0; i < 4; ++i) w.form->actions[i].checked = SendMessageA(w.radios[i], BM_GETCHECK, 0, 0) == BST_CHECKED;
  w.form->check_state = SendMessageA(w.check, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void ShowActionState(ActionWindow& w) {
  for (int i = 0; i < 4; ++i) {
    SendMessageA(w.radios[i], BM_SETCHECK, w.form->actions[i].checked ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  SendMessageA(w.check, BM_SETCHECK, w.form->check_state ? BST_CHECKED : BST_UNCHECKED, 0);
}

void RunClick(const std::function<void()>& handler) {
  try {
    if (handler) handler();
  } catch (...) {
    // The models report their own failures; nothing may cross the window.
  }
}

INT_PTR CALLBACK ActionProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* w = reinterpret_cast<ActionWindow*>(GetWindowLongPtrA(hwnd, DWLP_USER));
  switch (msg) {
    case WM_INITDIALOG: {
      w = reinterpret_cast<ActionWindow*>(lp);
      SetWindowLongPtrA(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(w));
      ActionFormControls& f = *w->form;
      PlaceWindow(hwnd, f.client_width, f.client_height, true, 0, 0);
      // Created in tab order: the actions, then the buttons and the check box.
      AddControl(hwnd, w->font, "BUTTON", f.group_caption, WS_VISIBLE | BS_GROUPBOX, f.group, -1);
      for (int i = 0; i < 4; ++i) {
        const auto& a = f.actions[i];
        Rect pic{f.group.left + a.picture.left, f.group.top + a.picture.top, a.picture.width, a.picture.height};
        Rect radio{f.group.left + a.radio.left, f.group.top + a.radio.top, a.radio.width, a.radio.height};
        AddControl(hwnd, w->font, "STATIC", "", WS_VISIBLE | SS_OWNERDRAW, pic, kIdPicture + i);
        w->radios[i] = AddControl(hwnd, w->font, "BUTTON", a.caption,
                                  WS_VISIBLE | WS_TABSTOP | BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP : 0), radio,
                                  kIdRadio + i);
        EnableWindow(w->radios[i], a.enabled);
      }
      AddControl(hwnd, w->font, "BUTTON", f.ok.caption, WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON,
                 f.ok.rect, IDOK);
      AddControl(hwnd, w->font, "BUTTON", f.cancel.caption, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, f.cancel.rect,
                 IDCANCEL);
      w->check = AddControl(hwnd, w->font, "BUTTON", f.check_caption, WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX,
                            f.check, kIdCheck);
      w->data = AddControl(hwnd, w->font, "BUTTON", f.data.caption,
                           (f.data.visible ? WS_VISIBLE : 0) | WS_TABSTOP | BS_PUSHBUTTON, f.data.rect, kIdData);
      w->about = AddControl(hwnd, w->font, "BUTTON", f.about.caption,
                            (f.about.visible ? WS_VISIBLE : 0) | WS_TABSTOP | BS_PUSHBUTTON, f.about.rect, kIdAbout);
      ShowActionState(*w);
      StartSnapshot(hwnd);
      int first = 0;
      while (first < 4 && !f.actions[first].checked) ++first;
      SetFocus(first < 4 ? w->radios[first] : GetDlgItem(hwnd, IDOK));
      return FALSE;  // focus set here
    }
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
      if (item->CtlID >= kIdPicture && item->CtlID < kIdPicture + 4) {
        DrawActionPicture(item->hDC, item->rcItem, static_cast<int>(item->CtlID - kIdPicture));
        return TRUE;
      }
      return FALSE;
    }
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case IDOK:
          ReadActionState(*w);
          EndDialog(hwnd, IDOK);
          return TRUE;
        case IDCANCEL:  // the Cancel button, Escape and the close box
          EndDialog(hwnd, IDCANCEL);
          return TRUE;
        case kIdData:
        case kIdAbout:
          ReadActionState(*w);
          RunClick(LOWORD(wp) == kIdData ? w->form->data.on_click : w->form->about.on_click);
          ShowActionState(*w);
          return TRUE;
      }
      return FALSE;
    case WM_CLOSE:
      EndDialog(hwnd, IDCANCEL);
      return TRUE;
    case WM_TIMER:
      if (wp == kSnapshotTimer) {
        KillTimer(hwnd, kSnapshotTimer);
        SaveSnapshot(hwnd, "hotsync-action");
        if (w->form->data.visible) SendMessageA(hwnd, WM_COMMAND, kIdData, 0);
        EndDialog(hwnd, IDCANCEL);
      }
      return TRUE;
  }
  return FALSE;
}

// ---- The settings window -------------------------------------------------

struct SettingsWindow {
  SettingsFormControls* form;
  HFONT font;
  HWND items[2];
  HWND label, edit;
};

void ShowSettingsState(SettingsWindow& w) {
  for (int i = 0; i < 2; ++i) {
    SendMessageA(w.items[i], BM_SETCHECK, w.form->item_index == i ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  SetWindowTextA(w.edit, w.form->edit_text.c_str());
  // The label grows with its text, as an auto-sized label does.
  SetWindowTextA(w.label, w.form->label.c_str());
  HDC dc = GetDC(w.label);
  HGDIOBJ old = SelectObject(dc, w.font);
  SIZE size{};
  GetTextExtentPoint32A(dc, w.form->label.c_str(), static_cast<int>(w.form->label.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(w.label, dc);
  const Rect& r = w.form->label_rect;
  SetWindowPos(w.label, nullptr, r.left, r.top, size.cx > 0 ? size.cx + 4 : r.width, r.height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK SettingsProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* w = reinterpret_cast<SettingsWindow*>(GetWindowLongPtrA(hwnd, DWLP_USER));
  switch (msg) {
    case WM_INITDIALOG: {
      w = reinterpret_cast<SettingsWindow*>(lp);
      SetWindowLongPtrA(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(w));
      SettingsFormControls& f = *w->form;
      PlaceWindow(hwnd, f.client_width, f.client_height, false, f.left, f.top);
      // Created in tab order: Ok, Cancel, Browse, the edit box, the radio group.
      HWND ok = AddControl(hwnd, w->font, "BUTTON", f.ok.caption, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, f.ok.rect,
                           kIdSettingsOk);
      AddControl(hwnd, w->font, "BUTTON", f.cancel.caption, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, f.cancel.rect,
                 kIdSettingsCancel);
      AddControl(hwnd, w->font, "BUTTON", f.browse.caption, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, f.browse.rect,
                 kIdBrowse);
      w->edit = AddControl(hwnd, w->font, "EDIT", f.edit_text, WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, f.edit,
                           kIdEdit, WS_EX_CLIENTEDGE);
      EnableWindow(w->edit, FALSE);  // changed through "Browse ..." only
      AddControl(hwnd, w->font, "BUTTON", f.group_caption, WS_VISIBLE | BS_GROUPBOX, f.group, -1);
      // Two columns, as a two-column radio group lays out its items.
      const int column = (f.group.width - 10) / 2;
      for (int i = 0; i < 2; ++i) {
        Rect r{f.group.left + 8 + i * column, f.group.top + 18, column - 8, 21};
        w->items[i] = AddControl(hwnd, w->font, "BUTTON", f.items[i],
                                 WS_VISIBLE | WS_TABSTOP | BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP : 0), r,
                                 kIdItem + i);
      }
      w->label = AddControl(hwnd, w->font, "STATIC", f.label, WS_VISIBLE | SS_LEFT, f.label_rect, kIdLabel);
      ShowSettingsState(*w);
      StartSnapshot(hwnd);
      SetFocus(ok);
      return FALSE;
    }
    case WM_COMMAND: {
      const int id = LOWORD(wp);
      if (id == kIdItem || id == kIdItem + 1) {
        if (HIWORD(wp) == BN_CLICKED && w->form->item_index != id - kIdItem) {
          w->form->item_index = id - kIdItem;
          RunClick(w->form->on_item_click);
          ShowSettingsState(*w);
        }
        return TRUE;
      }
      if (id == kIdBrowse) {
        RunClick(w->form->browse.on_click);
        ShowSettingsState(*w);
        return TRUE;
      }
      if (id == kIdSettingsOk) {
        bool close = true;
        try {
          close = !w->form->on_ok || w->form->on_ok();
        } catch (...) {
          close = false;
        }
        if (close) EndDialog(hwnd, IDOK);
        return TRUE;
      }
      if (id == kIdSettingsCancel) {
        EndDialog(hwnd, IDCANCEL);
        return TRUE;
      }
      return TRUE;  // Enter and Escape do nothing: no default or cancel button
    }
    case WM_TIMER:
      if (wp == kSnapshotTimer) {
        KillTimer(hwnd, kSnapshotTimer);
        SaveSnapshot(hwnd, "settings");
        EndDialog(hwnd, IDCANCEL);
      }
      return TRUE;
  }
  return FALSE;
}

HWND OwnerWindow() { return GetActiveWindow(); }

int CALLBACK FolderCallback(HWND hwnd, UINT msg, LPARAM, LPARAM data) {
  if (msg == BFFM_INITIALIZED) {
    auto* texts = reinterpret_cast<const std::string*>(data);
    SetWindowTextA(hwnd, texts[0].c_str());
    if (!texts[1].empty()) SendMessageA(hwnd, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(texts[1].c_str()));
  }
  return 0;
}

}  // namespace

ModalResult NativeActionForm(ActionFormControls& form) {
  ActionWindow w{&form, MakeFont(form.font), {}, nullptr, nullptr, nullptr};
  DialogTemplate t(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, form.caption);
  INT_PTR result = DialogBoxIndirectParamA(GetModuleHandleA(nullptr), t.Get(), OwnerWindow(), ActionProc,
                                           reinterpret_cast<LPARAM>(&w));
  DeleteObject(w.font);
  return result == IDOK ? ModalResult::kOk : ModalResult::kCancel;
}

ModalResult NativeSettingsForm(SettingsFormControls& form) {
  SettingsWindow w{&form, MakeFont(form.font), {}, nullptr, nullptr};
  // A fixed dialog frame without title-bar buttons.
  DialogTemplate t(WS_POPUP | WS_CAPTION | DS_MODALFRAME, form.caption);
  INT_PTR result = DialogBoxIndirectParamA(GetModuleHandleA(nullptr), t.Get(), OwnerWindow(), SettingsProc,
                                           reinterpret_cast<LPARAM>(&w));
  DeleteObject(w.font);
  return result == IDOK ? ModalResult::kOk : ModalResult::kCancel;
}

std::optional<std::string> NativeChooseFolder(const std::string& title, const std::string& start) {
  std::string texts[2] = {title, start};
  char display[MAX_PATH] = {};
  BROWSEINFOA info{};
  info.hwndOwner = OwnerWindow();
  info.pszDisplayName = display;
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_BROWSEINCLUDEFILES | BIF_NONEWFOLDERBUTTON;
  info.lpfn = FolderCallback;
  info.lParam = reinterpret_cast<LPARAM>(texts);
  PIDLIST_ABSOLUTE chosen = SHBrowseForFolderA(&info);
  if (!chosen) return std::nullopt;
  char path[MAX_PATH] = {};
  BOOL ok = SHGetPathFromIDListA(chosen, path);
  CoTaskMemFree(chosen);
  if (!ok) return std::nullopt;
  std::string folder = path;
  // A file picked in the tree stands for its folder.
  if (!DirectoryExists(folder)) folder = folder.substr(0, folder.find_last_of('\\'));
  return folder;
}

std::optional<std::string> NativeChooseOpenFile(const FileOpenRequest& request) {
  std::string filter = request.filter;
  for (char& c : filter) {
    if (c == '|') c = '\0';
  }
  filter.append(2, '\0');
  char file[MAX_PATH] = {};
  std::strncpy(file, request.file_name.c_str(), MAX_PATH - 1);
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = OwnerWindow();
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file;
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrTitle = request.title.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR;
  if (request.hide_read_only) ofn.Flags |= OFN_HIDEREADONLY;
  if (request.file_must_exist) ofn.Flags |= OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
  if (request.resizable) ofn.Flags |= OFN_ENABLESIZING;
  if (!GetOpenFileNameA(&ofn)) return std::nullopt;
  return std::string(file);
}

}  // namespace kestro::platform
