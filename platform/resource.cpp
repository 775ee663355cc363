// Resources embedded in the program: pictures of type "TEXT" and waves of
// type "WAVE", compiled in with the Qt resource system.  Names are matched
// without regard to case and without the file's extension.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QPixmap>
#include <QResource>
#include <list>
#include <map>

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

// The embedded files of one type by name (lower case, without extension),
// listed once: a listing per look-up made the start-up's dozen sound
// look-ups cost milliseconds.
static const std::map<QString, QString>& IndexOf(const QString& type) {
  static std::map<QString, std::map<QString, QString>> indexes;
  auto it = indexes.find(type);
  if (it != indexes.end()) return it->second;
  std::map<QString, QString>& index = indexes[type];
  for (const QFileInfo& fi : QDir(QStringLiteral(":/") + type).entryInfoList(QDir::Files))
    index.emplace(fi.completeBaseName().toLower(), fi.filePath());  // the first of a name counts
  return index;
}

static Resource* Find(const char* type, const char* name) {
  QString t = FromAnsi(type).toUpper(), n = FromAnsi(name).toLower();
  for (Resource& r : g_resources)
    if (QString::fromStdString(r.type) == t && QString::fromStdString(r.name).toLower() == n) return &r;
  const std::map<QString, QString>& index = IndexOf(t);
  auto it = index.find(n);
  if (it == index.end()) return nullptr;
  g_resources.push_back(Resource{t.toStdString(), ToAnsi(QFileInfo(it->second).completeBaseName()), it->second, {}, false, 0});
  return &g_resources.back();
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
    // An embedded file stored as it is is used where it lies, not copied.
    QResource embedded(r->path);
    if (embedded.isValid() && embedded.compressionAlgorithm() == QResource::NoCompression) {
      r->data = QByteArray::fromRawData(reinterpret_cast<const char*>(embedded.data()), (qsizetype)embedded.size());
    } else {
      QFile f(r->path);
      if (!f.open(QIODevice::ReadOnly)) return nullptr;
      r->data = f.readAll();
    }
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
