// Resources embedded in the program: pictures of type "TEXT" and waves of
// type "WAVE", compiled in with the Qt resource system.  Names are matched
// without regard to case and without the file's extension.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QPixmap>
#include <list>

#include "platform/internal.h"

namespace plat {
struct Resource {
  std::string type;
  std::string name;
  QString path;
  QByteArray data;
  bool loaded = false;
  int locks = 0;
};
static std::list<Resource> g_resources;

static Resource* Find(const char* type, const char* name) {
  QString t = FromAnsi(type).toUpper(), n = FromAnsi(name).toLower();
  for (Resource& r : g_resources)
    if (QString::fromStdString(r.type) == t && QString::fromStdString(r.name).toLower() == n) return &r;
  QDir dir(QStringLiteral(":/") + t);
  for (const QFileInfo& fi : dir.entryInfoList(QDir::Files)) {
    if (fi.completeBaseName().toLower() != n) continue;
    g_resources.push_back(Resource{t.toStdString(), ToAnsi(fi.completeBaseName()), fi.filePath(), {}, false, 0});
    return &g_resources.back();
  }
  return nullptr;
}

static Resource* Of(const void* h) {
  for (Resource& r : g_resources)
    if (&r == h) return &r;
  return nullptr;
}

std::string ResourceNameOf(const void* data) {
  for (Resource& r : g_resources)
    if (r.loaded && r.data.constData() == data) return r.name;
  return std::string();
}

DWORD ResourceSizeOf(const void* data) {
  for (Resource& r : g_resources)
    if (r.loaded && r.data.constData() == data) return (DWORD)r.data.size();
  return 0;
}
}  // namespace plat

using namespace plat;

HRSRC FindResourceA(HINSTANCE, LPCSTR name, LPCSTR type) {
  if (!name || !type || IS_INTRESOURCE(name) || IS_INTRESOURCE(type)) return nullptr;
  return reinterpret_cast<HRSRC>(Find(type, name));
}

HGLOBAL LoadResource(HINSTANCE, HRSRC res) {
  Resource* r = Of(res);
  if (!r) return nullptr;
  if (!r->loaded) {
    QFile f(r->path);
    if (!f.open(QIODevice::ReadOnly)) return nullptr;
    r->data = f.readAll();
    r->loaded = true;
  }
  r->locks++;
  return reinterpret_cast<HGLOBAL>(r);
}

LPVOID LockResource(HGLOBAL h) {
  Resource* r = Of(h);
  if (!r || !r->loaded || r->data.isEmpty()) return nullptr;
  return const_cast<char*>(r->data.constData());
}

DWORD SizeofResource(HINSTANCE, HRSRC res) {
  Resource* r = Of(res);
  if (!r) return 0;
  if (r->loaded) return (DWORD)r->data.size();
  return (DWORD)QFileInfo(r->path).size();
}

BOOL FreeResource(HGLOBAL h) {
  Resource* r = Of(h);
  if (!r) return FALSE;
  // The bytes stay cached: resources are part of the program image.
  if (r->locks > 0) r->locks--;
  return TRUE;
}

QIcon IconFromResource(const char* name) {
  Resource* r = Find("TEXT", name);
  if (!r) return QIcon();
  return QIcon(QPixmap(r->path));
}
