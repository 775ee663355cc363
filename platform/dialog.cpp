// Dialogs built from the program's templates, message boxes and the file
// dialogs.
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QGroupBox>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <memory>

#include "platform/internal.h"
#include "platform/widgets.h"
#include "platform/testing.h"

namespace plat {
static std::map<std::string, const DialogTemplate*> g_dialogTemplates;
static std::deque<int> g_boxAnswers;
static std::vector<TestMessageBox> g_boxes;
static std::deque<std::function<void(HWND)>> g_dialogScripts;
static std::vector<std::string> g_dialogsShown;
struct FileAnswer {
  std::string path;
  DWORD index = 0;
  bool typed = false;  // entered into the real dialog rather than returned by it
};
static std::deque<FileAnswer> g_fileAnswers;
static std::vector<TestFileDialog> g_fileDialogs;

static std::string Lower(const char* s) { return QString(s ? s : "").toLower().toStdString(); }

void RemoveControls(Window* w) {
  for (auto& c : w->controls) c.second->deleteLater();
  w->controls.clear();
}

static QPushButton* DefaultButton(Window* w, int* id) {
  for (auto& c : w->controls)
    if (auto* b = qobject_cast<QPushButton*>(c.second); b && b->isDefault()) {
      *id = c.first;
      return b;
    }
  return nullptr;
}

void DialogEnterOrEscape(Window* w, int vk) {
  if (vk == VK_ESCAPE) {
    PostInput(w, WM_COMMAND, IDCANCEL, 0);
    return;
  }
  for (auto& c : w->controls)
    if (c.second->hasFocus() && qobject_cast<QPushButton*>(c.second)) {
      PostInput(w, WM_COMMAND, (WPARAM)c.first, 0);
      return;
    }
  int id = IDOK;
  DefaultButton(w, &id);
  PostInput(w, WM_COMMAND, (WPARAM)id, 0);
}
}  // namespace plat

using namespace plat;

// Dialog units of the dialogs' 8-point font.
int DialogUnitsToPixelsX(int units) { return (units * 6 + 2) / 4; }
int DialogUnitsToPixelsY(int units) { return (units * 13 + 4) / 8; }

void RegisterDialogTemplate(const DialogTemplate* t) {
  if (t && t->name) g_dialogTemplates[Lower(t->name)] = t;
}

static QWidget* TopWidget(HWND owner) {
  Window* w = Win(owner);
  if (!w || !w->host) return nullptr;
  return w->host->window();
}

// The owner takes the keyboard again once a box or dialog has gone, as on the
// desktop when a modal window ends.  Without it the desktop's keyboard falls
// back to whatever lies under the pointer: keys still arrive, but the toolkit
// counts none of the game's windows active, so the menus' underlined letters
// stay dead until a click.
static void ReturnKeyboard(HWND owner) {
  if (g_test) return;
  QWidget* top = TopWidget(owner);
  if (top && top->isVisible()) top->activateWindow();
}
// A box or dialog takes the keyboard when it opens, also where no window
// manager hands it over: keys typed while it closes then reach it, and go
// on to its owner with it, instead of being lost on a window it blocks.
static void TakeKeyboard(QWidget* top) {
  if (g_test) return;
  QTimer::singleShot(0, top, [top]() {
    if (top->isVisible()) top->activateWindow();
  });
}
namespace {
struct KeyboardBackAtEnd {
  HWND owner;
  ~KeyboardBackAtEnd() { ReturnKeyboard(owner); }
};
}  // namespace

static void MakeControls(Window* w, const DialogTemplate* t) {
  for (int i = 0; i < t->controlCount; ++i) {
    const DialogControlTemplate& c = t->controls[i];
    QRect geo(DialogUnitsToPixelsX(c.x), DialogUnitsToPixelsY(c.y), DialogUnitsToPixelsX(c.cx),
              DialogUnitsToPixelsY(c.cy));
    QWidget* widget = nullptr;
    std::string cls = Lower(c.className);
    QString text = FromAnsi(c.text);
    int id = c.id;
    if (cls == "button") {
      DWORD kind = c.style & 0x0F;
      if (kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX) {
        auto* b = new QCheckBox(text, w->canvas);
        QObject::connect(b, &QCheckBox::clicked, b, [w, id]() { PostInput(w, WM_COMMAND, id, 0); });
        widget = b;
      } else if (kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON) {
        auto* b = new QRadioButton(text, w->canvas);
        b->setAutoExclusive(false);
        QObject::connect(b, &QRadioButton::clicked, b, [w, id]() { PostInput(w, WM_COMMAND, id, 0); });
        widget = b;
      } else if (kind == BS_GROUPBOX) {
        widget = new QGroupBox(text, w->canvas);
      } else {
        auto* b = new QPushButton(text, w->canvas);
        b->setDefault(kind == BS_DEFPUSHBUTTON);
        b->setAutoDefault(false);
        QObject::connect(b, &QPushButton::clicked, b, [w, id]() { PostInput(w, WM_COMMAND, id, 0); });
        widget = b;
      }
    } else if (cls == "edit") {
      auto* e = new QLineEdit(text, w->canvas);
      e->setMaxLength(255);
      widget = e;
    } else {
      auto* l = new QLabel(text, w->canvas);
      l->setWordWrap(true);
      if (c.style & SS_CENTER) l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
      widget = l;
    }
    widget->setGeometry(geo);
    widget->show();
    if (id > 0) w->controls[id] = widget;
  }
}

static Window* MakeDialog(LPCSTR templateName, HWND owner, DLGPROC proc, bool modal) {
  auto it = g_dialogTemplates.find(Lower(templateName));
  if (it == g_dialogTemplates.end()) return nullptr;
  const DialogTemplate* t = it->second;
  WNDCLASSA wc{};
  wc.lpszClassName = "#32770";
  RegisterClassA(&wc);
  DWORD style = t->style & ~WS_VISIBLE;
  HWND h = CreateWindowExA(0, "#32770", t->caption ? t->caption : "", style, DialogUnitsToPixelsX(t->x),
                           DialogUnitsToPixelsY(t->y), DialogUnitsToPixelsX(t->cx), DialogUnitsToPixelsY(t->cy),
                           nullptr, nullptr, nullptr, nullptr);
  Window* w = Win(h);
  if (!w) return nullptr;
  w->isDialog = true;
  w->modal = modal;
  w->dlgProc = proc;
  w->owner = Win(owner);
  // A dialog has a caption and a close button, never a minimise or maximise
  // button; the template gives the client size and the frame comes on top.
  const bool captioned = (t->style & WS_CAPTION) == WS_CAPTION;
  const Qt::WindowFlags flags = captioned ? Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                                Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                                          : Qt::Dialog | Qt::FramelessWindowHint;
  if (captioned) w->host->setWindowFlags(flags);
  if (modal && w->owner && w->owner->host) {
    // Transient for the window it was opened from, so that the desktop keeps
    // it above that window and places it there.
    w->host->setParent(w->owner->host->window(), flags);
    w->host->setWindowModality(Qt::ApplicationModal);
  }
  if (t->style & DS_CENTER) {
    // Centred on the screen, as the message boxes are.
    RECT screen;
    GetWindowRect(GetDesktopWindow(), &screen);
    w->x = std::max(0, (int)(screen.right - w->width) / 2);
    w->y = std::max(0, (int)(screen.bottom - w->height) / 2);
  }
  ApplyGeometry(w);
  MakeControls(w, t);
  // Tab goes from control to control; the dialog itself is no stop of its
  // own (it still takes the Enter and Escape its controls pass on).
  if (!w->controls.empty()) w->host->setFocusPolicy(Qt::NoFocus);
  g_dialogsShown.push_back(t->name);
  return w;
}

// Where the keyboard starts: the first text field, or else the default
// button, or else the first button in the template's order (the order Tab
// follows), so that Tab, Space and Enter work at once.
static QWidget* FirstFocus(Window* w) {
  if (!w->canvas) return nullptr;
  const QList<QWidget*> inOrder = w->canvas->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
  for (QWidget* c : inOrder)
    if (qobject_cast<QLineEdit*>(c)) return c;
  int id;
  if (QWidget* b = DefaultButton(w, &id)) return b;
  for (QWidget* c : inOrder)
    if (qobject_cast<QAbstractButton*>(c) && (c->focusPolicy() & Qt::TabFocus)) return c;
  return nullptr;
}

HWND CreateDialogParamA(HINSTANCE, LPCSTR templateName, HWND owner, DLGPROC proc, LPARAM param) {
  Window* w = MakeDialog(templateName, owner, proc, false);
  if (!w) return nullptr;
  HWND h = Handle(w);
  if (proc) proc(h, WM_INITDIALOG, 0, param);
  return h;
}

INT_PTR DialogBoxParamA(HINSTANCE, LPCSTR templateName, HWND owner, DLGPROC proc, LPARAM param) {
  Window* w = MakeDialog(templateName, owner, proc, true);
  if (!w) return -1;
  HWND h = Handle(w);
  BOOL focusDefault = proc ? (BOOL)proc(h, WM_INITDIALOG, 0, param) : TRUE;
  (void)focusDefault;
  if (!Win(h)) return -1;
  ShowWindow(h, SW_SHOW);
  TakeKeyboard(w->host);
  if (!w->controls.empty() && !g_test)
    if (QWidget* first = FirstFocus(w)) first->setFocus();
  if (g_test) {
    TestPumpMessages();
    if (!g_dialogScripts.empty()) {
      auto script = g_dialogScripts.front();
      g_dialogScripts.pop_front();
      script(h);
    }
    TestPumpMessages();
    if (!w->dialogEnded && Win(h)) EndDialog(h, IDCANCEL);
  } else {
    // The dialog's own loop: messages for every window still flow, input
    // for the windows under the dialog is held back by its modality.
    MSG m;
    while (!w->dialogEnded && Win(h)) {
      if (!GetMessageA(&m, nullptr, 0, 0)) {
        PostQuitMessage((int)m.wParam);
        break;
      }
      // Nothing but the dialog may take clicks and keys meanwhile.
      if ((m.message == WM_LBUTTONDOWN || m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN ||
           m.message == WM_COMMAND || m.message == WM_RBUTTONDOWN) &&
          m.hwnd != h)
        continue;
      DispatchMessageA(&m);
    }
  }
  INT_PTR result = w->dialogResult;
  HWND ownerHandle = Handle(w->owner);
  if (Win(h)) DestroyWindow(h);
  ReturnKeyboard(ownerHandle);
  return result;
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
  Window* w = Win(dialog);
  if (!w || !w->isDialog) return FALSE;
  w->dialogEnded = true;
  w->dialogResult = result;
  if (w->host) w->host->hide();
  w->visible = false;
  return TRUE;
}

HWND GetDlgItem(HWND dialog, int id) {
  Window* w = Win(dialog);
  if (!w || !w->controls.count(id)) return nullptr;
  return reinterpret_cast<HWND>(w->controls[id]);
}

BOOL SetDlgItemTextA(HWND dialog, int id, LPCSTR text) {
  Window* w = Win(dialog);
  if (!w || !w->controls.count(id)) return FALSE;
  QWidget* c = w->controls[id];
  QString t = FromAnsi(text);
  if (auto* e = qobject_cast<QLineEdit*>(c)) e->setText(t);
  else if (auto* l = qobject_cast<QLabel*>(c)) l->setText(t);
  else if (auto* b = qobject_cast<QAbstractButton*>(c)) b->setText(t);
  return TRUE;
}

UINT GetDlgItemTextA(HWND dialog, int id, LPSTR text, int maxCount) {
  Window* w = Win(dialog);
  if (!text || maxCount <= 0) return 0;
  text[0] = 0;
  if (!w || !w->controls.count(id)) return 0;
  QWidget* c = w->controls[id];
  QString t;
  if (auto* e = qobject_cast<QLineEdit*>(c)) t = e->text();
  else if (auto* l = qobject_cast<QLabel*>(c)) t = l->text();
  else if (auto* b = qobject_cast<QAbstractButton*>(c)) t = b->text();
  std::string s = ToAnsi(t);
  int n = std::min<int>((int)s.size(), maxCount - 1);
  memcpy(text, s.data(), n);
  text[n] = 0;
  return (UINT)n;
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
  Window* w = Win(dialog);
  if (!w || !w->controls.count(id)) return FALSE;
  if (auto* b = qobject_cast<QAbstractButton*>(w->controls[id])) {
    b->setCheckable(true);
    b->setChecked(check == BST_CHECKED);
  }
  return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
  Window* w = Win(dialog);
  if (!w || !w->controls.count(id)) return BST_UNCHECKED;
  auto* b = qobject_cast<QAbstractButton*>(w->controls[id]);
  return b && b->isChecked() ? BST_CHECKED : BST_UNCHECKED;
}

// ---------------------------------------------------------------- message boxes
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  UINT buttons = type & 0x0F;
  int first = (buttons == MB_YESNO || buttons == MB_YESNOCANCEL) ? IDYES : IDOK;
  if (g_test) {
    int answer = first;
    if (!g_boxAnswers.empty()) {
      answer = g_boxAnswers.front();
      g_boxAnswers.pop_front();
    }
    g_boxes.push_back(TestMessageBox{owner, caption ? caption : "", text ? text : "", type, answer});
    return answer;
  }
  QString body = FromAnsi(text);
  body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  QMessageBox box(TopWidget(owner));
  box.setWindowTitle(FromAnsi(caption));
  box.setText(body);
  UINT icon = type & 0xF0;
  box.setIcon(icon == MB_ICONHAND ? QMessageBox::Critical
              : icon == MB_ICONQUESTION ? QMessageBox::Question
              : icon == MB_ICONEXCLAMATION ? QMessageBox::Warning
              : icon == MB_ICONASTERISK ? QMessageBox::Information
                                        : QMessageBox::NoIcon);
  switch (buttons) {
    case MB_OKCANCEL:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      box.setDefaultButton(QMessageBox::Ok);
      break;
    case MB_YESNO:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      box.setDefaultButton(QMessageBox::Yes);
      break;
    case MB_YESNOCANCEL:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      box.setDefaultButton(QMessageBox::Yes);
      break;
    default:
      box.setStandardButtons(QMessageBox::Ok);
      break;
  }
  if (!TopWidget(owner)) box.setWindowModality(Qt::ApplicationModal);
  KeyboardBackAtEnd keyboardBack{owner};
  TakeKeyboard(&box);
  if (QGuiApplication::overrideCursor()) QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
  BeforeToolkitPaints();
  int r = box.exec();
  if (QGuiApplication::overrideCursor() && QGuiApplication::overrideCursor()->shape() == Qt::ArrowCursor)
    QGuiApplication::restoreOverrideCursor();
  switch (r) {
    case QMessageBox::Ok: return IDOK;
    case QMessageBox::Yes: return IDYES;
    case QMessageBox::No: return IDNO;
    case QMessageBox::Cancel: return IDCANCEL;
    default:
      // Closing the box by its frame is its Cancel, or No where there is none.
      return buttons == MB_YESNO ? IDNO : buttons == MB_OK ? IDOK : IDCANCEL;
  }
}

// ---------------------------------------------------------------- file dialogs
// Turns "desc\0pattern\0...\0\0" into Qt name filters; `shownTypes` gets each
// description as the caller wrote it, which is what the type list shows.
static QStringList Filters(LPCSTR f, std::string* joined, QStringList* shownTypes) {
  QStringList out;
  if (!f) return out;
  const char* p = f;
  while (*p) {
    std::string desc = p;
    p += desc.size() + 1;
    if (!*p) break;
    std::string pat = p;
    p += pat.size() + 1;
    if (!joined->empty()) *joined += "|";
    *joined += desc + "|" + pat;
    *shownTypes << FromAnsi(desc.c_str());
    QString patterns = FromAnsi(pat.c_str());
    patterns.replace(';', ' ');
    // Qt filters by the space-separated patterns in brackets; a description
    // that already shows its patterns is not given them twice.  The type list
    // is relabelled afterwards, so these are only what Qt filters by.
    QString d = FromAnsi(desc.c_str());
    const QString raw = QStringLiteral("(") + FromAnsi(pat.c_str()) + QStringLiteral(")");
    const QString shown = QStringLiteral("(") + patterns + QStringLiteral(")");
    if (d.contains(raw))
      out << QString(d).replace(raw, shown);
    else
      out << QStringLiteral("%1 %2").arg(d, shown);
  }
  return out;
}

// True when the folder a chosen file lies in exists.
static bool FolderExists(const QString& file) { return QFileInfo(file).absoluteDir().exists(); }

// Qt's dialogs take a name in a folder that does not exist; this one refuses
// it and stays open when the flags ask for an existing path.
class PathCheckedFileDialog : public QFileDialog {
 public:
  PathCheckedFileDialog(QWidget* parent, const QString& caption, bool pathMustExist)
      : QFileDialog(parent, caption), pathMustExist_(pathMustExist) {}
  void accept() override {
    const QStringList files = selectedFiles();
    if (pathMustExist_ && !files.isEmpty() && !FolderExists(files.first())) {
      QMessageBox::warning(this, windowTitle(),
                           QStringLiteral("%1\nThe folder does not exist. Check the path and try again.")
                               .arg(QDir::toNativeSeparators(files.first())));
      return;
    }
    QFileDialog::accept();
  }

 private:
  bool pathMustExist_;
};

// A file dialog opened from a dialog opens beside it, where the screen has
// room, so that it does not hide what it was opened from.
static void PlaceBesideOwner(QFileDialog* dialog, HWND owner) {
  Window* w = Win(owner);
  if (!w || !w->isDialog || !w->host || !w->host->isVisible()) return;
  QWidget* top = w->host->window();
  const QRect area = top->screen() ? top->screen()->availableGeometry() : QRect();
  const QRect beside = top->frameGeometry();
  const QSize want = dialog->sizeHint().expandedTo(dialog->minimumSizeHint());
  const int least = dialog->minimumSizeHint().width();
  const int right = area.right() - beside.right(), left = beside.left() - area.left();
  const int room = std::max(right, left);
  if (area.isEmpty() || room < least) return;
  const int width = std::min(want.width(), room);
  const int height = std::min(want.height(), area.height());
  const int x = right >= left ? beside.right() + 1 : beside.left() - width;
  const int y = std::clamp(beside.top(), area.top(), area.bottom() + 1 - height);
  dialog->resize(width, height);
  dialog->move(x, y);
}

// The type list shows each description as given, whatever Qt made of it
// ("JTIF (jpg variant)" is not followed by the patterns it filters by).
// Filtering goes by the row, so the rows' texts are the program's to choose.
static QComboBox* TypeList(QFileDialog* dialog) {
  return dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
}

static std::unique_ptr<QFileDialog> MakeFileDialog(const OPENFILENAMEA* ofn, bool save, const QStringList& filters,
                                                   const QStringList& shownTypes) {
  auto dlg = std::make_unique<PathCheckedFileDialog>(TopWidget(ofn->hwndOwner), FromAnsi(ofn->lpstrTitle),
                                                     ofn->Flags & OFN_PATHMUSTEXIST);
  dlg->setOption(QFileDialog::DontUseNativeDialog, true);
  dlg->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dlg->setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (save && !(ofn->Flags & OFN_OVERWRITEPROMPT)) dlg->setOption(QFileDialog::DontConfirmOverwrite, true);
  if (!filters.isEmpty()) {
    dlg->setNameFilters(filters);
    int i = (int)ofn->nFilterIndex - 1;
    if (i >= 0 && i < filters.size()) dlg->selectNameFilter(filters[i]);
    if (QComboBox* types = TypeList(dlg.get()); types && types->count() == shownTypes.size())
      for (int row = 0; row < types->count(); ++row) types->setItemText(row, shownTypes[row]);
  }
  QString dir = FromAnsi(ofn->lpstrInitialDir);
  if (!dir.isEmpty() && QDir(dir).exists()) dlg->setDirectory(dir);
  if (ofn->lpstrFile[0]) dlg->selectFile(FromAnsi(ofn->lpstrFile));
  if (ofn->lpstrDefExt) dlg->setDefaultSuffix(FromAnsi(ofn->lpstrDefExt));
  PlaceBesideOwner(dlg.get(), ofn->hwndOwner);
  return dlg;
}

// Runs the dialog once; false when the player cancelled it.
static bool RunFileDialog(QFileDialog& dlg, std::string* chosen, DWORD* index) {
  if (g_test) {
    // A typed answer is entered into the dialog itself, as a player would.
    FileAnswer a = g_fileAnswers.empty() ? FileAnswer{} : g_fileAnswers.front();
    if (a.typed) g_fileAnswers.pop_front();
    QTimer::singleShot(0, &dlg, [&dlg, a]() {
      if (QComboBox* types = TypeList(&dlg); types && !g_fileDialogs.empty())
        for (int row = 0; row < types->count(); ++row)
          g_fileDialogs.back().typesShown.push_back(ToAnsi(types->itemText(row)));
      if (!a.typed || a.path.empty()) return dlg.reject();
      // Whatever an earlier round left selected gives way to the name typed.
      for (QAbstractItemView* view : dlg.findChildren<QAbstractItemView*>()) view->clearSelection();
      if (auto* name = dlg.findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
        name->setText(QString::fromUtf8(a.path.c_str()));
      static_cast<QDialog&>(dlg).accept();  // the file dialog's own checks run
    });
  }
  BeforeToolkitPaints();
  TakeKeyboard(&dlg);
  if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return false;
  *chosen = ToAnsi(QDir::toNativeSeparators(dlg.selectedFiles().first()));
  if (QComboBox* types = TypeList(&dlg); types && types->currentIndex() >= 0)
    *index = (DWORD)types->currentIndex() + 1;
  return true;
}

// A path longer than the caller's buffer is never cut into another name: the
// player is told, and the dialog asks again.
static bool FitsOrSaysSo(const OPENFILENAMEA* ofn, const std::string& chosen) {
  if (chosen.size() < ofn->nMaxFile) return true;
  char text[200];
  snprintf(text, sizeof text,
           "The path of that file is too long: with its folders, the game can take at most %u bytes.",
           (unsigned)ofn->nMaxFile - 1);
  MessageBoxA(ofn->hwndOwner, text, "Sorry:", MB_OK);
  return false;
}

static BOOL FileDialog(OPENFILENAMEA* ofn, bool save) {
  if (!ofn || !ofn->lpstrFile || ofn->nMaxFile == 0) return FALSE;
  KeyboardBackAtEnd keyboardBack{ofn->hwndOwner};
  std::string joined;
  QStringList shownTypes;
  QStringList filters = Filters(ofn->lpstrFilter, &joined, &shownTypes);
  std::string chosen;
  DWORD index = ofn->nFilterIndex;
  if (g_test)
    g_fileDialogs.push_back(TestFileDialog{save, ofn->lpstrInitialDir ? ofn->lpstrInitialDir : "", joined,
                                           ofn->nFilterIndex, ofn->lpstrTitle ? ofn->lpstrTitle : "", "", {}});
  // Tests answer from a script, unless the answer is to be typed into the
  // real dialog.
  const bool scripted = g_test && !(!g_fileAnswers.empty() && g_fileAnswers.front().typed);
  std::unique_ptr<QFileDialog> dlg;
  do {
    if (scripted) {
      if (g_fileAnswers.empty() || g_fileAnswers.front().path.empty()) {
        if (!g_fileAnswers.empty()) g_fileAnswers.pop_front();
        return FALSE;
      }
      chosen = g_fileAnswers.front().path;
      if (g_fileAnswers.front().index) index = g_fileAnswers.front().index;
      g_fileAnswers.pop_front();
      continue;
    }
    if (!dlg) {
      dlg = MakeFileDialog(ofn, save, filters, shownTypes);
      if (g_test) g_fileDialogs.back().shownDirectory = dlg->directory().absolutePath().toStdString();
    }
    if (!RunFileDialog(*dlg, &chosen, &index)) return FALSE;
  } while (!FitsOrSaysSo(ofn, chosen));
  if ((ofn->Flags & OFN_PATHMUSTEXIST) && !FolderExists(FromAnsi(chosen.c_str()))) return FALSE;
  memcpy(ofn->lpstrFile, chosen.c_str(), chosen.size() + 1);
  ofn->nFilterIndex = index;
  size_t slash = chosen.find_last_of("/\\");
  ofn->nFileOffset = (WORD)(slash == std::string::npos ? 0 : slash + 1);
  size_t dot = chosen.find_last_of('.');
  ofn->nFileExtension = (WORD)(dot == std::string::npos || dot < ofn->nFileOffset ? chosen.size() : dot + 1);
  if (ofn->lpstrFileTitle && ofn->nMaxFileTitle > 0) {
    std::string title = chosen.substr(ofn->nFileOffset);
    size_t n = std::min<size_t>(title.size(), ofn->nMaxFileTitle - 1);
    memcpy(ofn->lpstrFileTitle, title.data(), n);
    ofn->lpstrFileTitle[n] = 0;
  }
  return TRUE;
}

BOOL GetOpenFileNameA(OPENFILENAMEA* ofn) { return FileDialog(ofn, false); }
BOOL GetSaveFileNameA(OPENFILENAMEA* ofn) { return FileDialog(ofn, true); }

// ---------------------------------------------------------------- test hooks
void TestQueueMessageBoxAnswer(int answer) { g_boxAnswers.push_back(answer); }
std::vector<TestMessageBox>& TestMessageBoxes() { return g_boxes; }
void TestQueueDialogScript(std::function<void(HWND)> script) { g_dialogScripts.push_back(std::move(script)); }
std::vector<std::string>& TestDialogsShown() { return g_dialogsShown; }
void TestQueueFileDialogAnswer(const std::string& path, DWORD index) {
  g_fileAnswers.push_back(FileAnswer{path, index, false});
}
void TestQueueFileDialogTyped(const std::string& utf8Path) { g_fileAnswers.push_back(FileAnswer{utf8Path, 0, true}); }
std::vector<TestFileDialog>& TestFileDialogs() { return g_fileDialogs; }

std::vector<int> TestDialogTabStops(HWND dialog) {
  // Tab's round as the toolkit walks it: every widget of the dialog's window
  // that takes the keyboard by Tab, from the control the keyboard starts on.
  std::vector<int> stops;
  Window* w = Win(dialog);
  QWidget* start = w ? FirstFocus(w) : nullptr;
  if (!start) return stops;
  QWidget* top = w->host->window();
  QWidget* at = start;
  do {
    if ((at->focusPolicy() & Qt::TabFocus) && at->isEnabled() && at->window() == top && at->isVisibleTo(top) &&
        !at->focusProxy()) {
      int id = 0;
      for (auto& c : w->controls)
        if (c.second == at) id = c.first;
      stops.push_back(id);
    }
    at = at->nextInFocusChain();
  } while (at && at != start && stops.size() < 64);
  return stops;
}
