#!/usr/bin/env python3
"""A Windows 10/11 user profile for bench/run-first, made on the host inside a
sandbox Wine prefix, and what a run left of it.

  first_run_profile.py generate BASES MANIFEST   make the profile, write the manifest
  first_run_profile.py measure MANIFEST          what is left: junk freed per class, user data lost
  first_run_profile.py system-batch MANIFEST BAT the same junk removed by the system's own commands

BASES is a JSON object naming, for each base folder, its host path and its
Windows path: local, roaming, temp, wintemp, iecache, profile, windir.

Junk is what a first run should free, by class, in the layouts of today's
browsers and Windows; big cache files are made sparse (their size counts, the
disk is not filled). User data (documents, bookmarks, passwords, preferences,
cookies) is real bytes and checked by SHA-256; Firefox's bookmarks live in
places.sqlite beside the history the run removes, so they are checked as rows.
"""
import hashlib
import json
import os
import random
import sqlite3
import sys

KB, MB = 1024, 1024 * 1024


class Profile:
    def __init__(self, bases):
        self.bases = bases
        self.rng = random.Random(20261209)
        self.junk = {}  # class -> [[host path, size]]
        self.roots = {}  # class -> [[kind, windows path]]: what the system's commands remove
        self.user = {}  # host path -> sha256
        self.cookies = {}  # host path -> sha256
        self.places = []  # places.sqlite files whose bookmarks are checked

    def host(self, base, relative):
        return os.path.join(self.bases[base]["host"], *relative.split("\\"))

    def win(self, base, relative):
        return self.bases[base]["win"].rstrip("\\") + ("\\" + relative if relative else "")

    @staticmethod
    def write(path, size, data=None):
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            if data is not None:
                f.write(data)
            else:
                # A real header, the rest sparse.
                f.write(b"\x00CV" * min(size // 3, 1365))
                f.truncate(size)

    def size(self, median, spread=1.0, least=64):
        return max(least, int(self.rng.lognormvariate(0, spread) * median))

    def hexname(self, n):
        return "".join(self.rng.choice("0123456789abcdef") for _ in range(n))

    # Junk: files of one class, and the folder (or pattern) the system's commands take.
    def junk_file(self, cls, path, size):
        self.write(path, size)
        self.junk.setdefault(cls, []).append([path, size])

    def root(self, cls, kind, base, relative):
        self.roots.setdefault(cls, []).append([kind, self.win(base, relative)])

    def user_file(self, path, data, table=None):
        self.write(path, len(data), data)
        (table if table is not None else self.user)[path] = hashlib.sha256(data).hexdigest()

    def user_sqlite(self, path, sql, table=None):
        os.makedirs(os.path.dirname(path), exist_ok=True)
        if os.path.exists(path):
            os.remove(path)
        db = sqlite3.connect(path)
        db.executescript(sql)
        db.commit()
        db.close()
        with open(path, "rb") as f:
            (table if table is not None else self.user)[path] = hashlib.sha256(f.read()).hexdigest()

    def data(self, n):
        return self.rng.randbytes(n)

    # --- today's browsers -------------------------------------------------
    def chromium_profile(self, cls, base, user_data, name, scale):
        p = user_data + "\\" + name + "\\"
        h = lambda rel: self.host(base, p + rel)
        for i in range(4):
            self.junk_file(cls, h("Cache\\Cache_Data\\data_%d" % i), [45 * KB, 270 * KB, 1 * MB, 4 * MB][i])
        self.junk_file(cls, h("Cache\\Cache_Data\\index"), 256 * KB)
        for i in range(int(560 * scale)):
            self.junk_file(cls, h("Cache\\Cache_Data\\f_%06x" % (i + 1)), self.size(40 * KB, 1.2))
        self.junk_file(cls, h("Code Cache\\js\\index"), 24)
        for i in range(int(280 * scale)):
            self.junk_file(cls, h("Code Cache\\js\\%s_0" % self.hexname(16)), self.size(12 * KB, 1.0))
        for i in range(int(12 * scale)):
            self.junk_file(cls, h("Code Cache\\wasm\\%s_0" % self.hexname(16)), self.size(300 * KB, 1.0))
        for i in range(4):
            self.junk_file(cls, h("GPUCache\\data_%d" % i), [8 * KB, 270 * KB, 1 * MB, 4 * MB][i])
        self.junk_file(cls, h("GPUCache\\index"), 256 * KB)
        for site in range(int(6 * scale)):
            folder = "Service Worker\\CacheStorage\\%s\\%s-%s-%s" % (
                self.hexname(40), self.hexname(8), self.hexname(4), self.hexname(12))
            self.junk_file(cls, h(folder + "\\index"), 2 * KB)
            for i in range(25):
                self.junk_file(cls, h(folder + "\\%s_0" % self.hexname(16)), self.size(30 * KB, 1.3))
        for i in range(int(30 * scale)):
            self.junk_file(cls, h("Service Worker\\ScriptCache\\%s_0" % self.hexname(16)), self.size(20 * KB))
        for folder in ("Cache", "Code Cache", "GPUCache", "Service Worker\\CacheStorage", "Service Worker\\ScriptCache"):
            self.root(cls, "rd", base, p + folder)
        # What the user keeps.
        self.user_file(h("Bookmarks"), json.dumps(
            {"roots": {"bookmark_bar": {"children": [{"name": "Bank %d" % i, "type": "url",
                                                      "url": "https://bank%d.example/" % i} for i in range(40)]}},
             "version": 1}).encode())
        self.user_file(h("Preferences"), json.dumps({"profile": {"name": name}, "homepage": "https://example.org/"}).encode())
        self.user_file(h("Secure Preferences"), json.dumps({"protection": {"macs": {}}}).encode())
        self.user_sqlite(h("Login Data"),
                         "CREATE TABLE logins (origin_url TEXT, username_value TEXT, password_value BLOB);" +
                         "".join("INSERT INTO logins VALUES ('https://site%d.example/', 'me', x'%s');" %
                                 (i, self.data(32).hex()) for i in range(60)))
        self.user_sqlite(h("Web Data"), "CREATE TABLE autofill (name TEXT, value TEXT);"
                         "INSERT INTO autofill VALUES ('email', 'me@example.org');"
                         "CREATE TABLE credit_cards (guid TEXT, name_on_card TEXT);"
                         "INSERT INTO credit_cards VALUES ('g1', 'A. User');")
        self.user_sqlite(h("Network\\Cookies"),
                         "CREATE TABLE cookies (creation_utc INTEGER, host_key TEXT, name TEXT, value TEXT);" +
                         "".join("INSERT INTO cookies VALUES (%d, '.site%d.example', 'sid', '%s');" %
                                 (i, i, self.data(8).hex()) for i in range(200)), self.cookies)
        self.user_file(h("Extensions\\cjpalhdlnbpafiamejdnhcphjbkeiagm\\1.60.0_0\\manifest.json"),
                       b'{"name": "uBlock Origin", "version": "1.60.0"}')
        # History: a trace the shipped selection also erases, neither junk nor user data here.
        self.user_sqlite(h("History"), "CREATE TABLE urls (id INTEGER PRIMARY KEY, url TEXT);"
                         "CREATE TABLE downloads (id INTEGER PRIMARY KEY, target_path TEXT);"
                         "CREATE TABLE downloads_url_chains (id INTEGER, chain_index INTEGER, url TEXT);"
                         "INSERT INTO urls VALUES (1, 'https://news.example/');", {})

    def chromium(self, cls, base, user_data, listed, on_disk, scale):
        root = self.host(base, user_data)
        profiles = {n: {"name": "Person %d" % i} for i, n in enumerate(listed)}
        self.user_file(os.path.join(root, "Local State"), json.dumps({"profile": {"info_cache": profiles}}).encode())
        for name in list(listed) + list(on_disk):
            self.chromium_profile(cls, base, user_data, name, scale)
        for shared in ("GrShaderCache", "ShaderCache", "GraphiteDawnCache"):
            for i in range(4):
                self.junk_file(cls, self.host(base, user_data + "\\%s\\data_%d" % (shared, i)),
                               [8 * KB, 270 * KB, 1 * MB, 4 * MB][i])
            self.junk_file(cls, self.host(base, user_data + "\\%s\\index" % shared), 256 * KB)
            self.root(cls, "rd", base, user_data + "\\" + shared)

    def firefox(self, scale):
        cls = "Firefox caches"
        ini = "[General]\r\nStartWithLastProfile=1\r\nVersion=2\r\n"
        for i, (folder, name) in enumerate([("x7k2m9qa.default-release", "default-release"), ("p3n8d1zc.default", "default")]):
            ini += "\r\n[Profile%d]\r\nName=%s\r\nIsRelative=1\r\nPath=Profiles/%s\r\n%s" % (
                i, name, folder, "Default=1\r\n" if i == 0 else "")
            rel = "Mozilla\\Firefox\\Profiles\\" + folder
            r = lambda x: self.host("roaming", rel + "\\" + x)
            l = lambda x: self.host("local", rel + "\\" + x)
            big = i == 0
            n = int((900 if big else 60) * scale)
            for k in range(n):
                self.junk_file(cls, l("cache2\\entries\\" + self.hexname(40).upper()), self.size(35 * KB, 1.3))
            self.junk_file(cls, l("cache2\\index"), 40 * KB)
            self.junk_file(cls, l("startupCache\\startupCache.8.little"), 9 * MB if big else 5 * MB)
            self.junk_file(cls, l("startupCache\\scriptCache-current.bin"), 3 * MB)
            for k in range(12 if big else 2):
                self.junk_file(cls, l("shader-cache\\" + self.hexname(16)), self.size(200 * KB))
            for k in range(15 if big else 0):
                self.junk_file(cls, l("jumpListCache\\%s.ico" % self.hexname(22)), self.size(4 * KB))
            for k in range(25 if big else 0):
                self.junk_file(cls, l("thumbnails\\%s.png" % self.hexname(32)), self.size(30 * KB))
            for folder_name in ("cache2", "startupCache", "shader-cache", "jumpListCache", "thumbnails"):
                if os.path.isdir(l(folder_name)):
                    self.root(cls, "rd", "local", rel + "\\" + folder_name)
            self.user_file(r("prefs.js"), b'user_pref("browser.startup.homepage", "https://example.org/");\n')
            self.user_file(r("times.json"), b'{"created": 1700000000000}')
            self.user_file(r("logins.json"), json.dumps({"logins": [
                {"hostname": "https://site%d.example" % k, "encryptedPassword": self.data(24).hex()} for k in range(40)]}).encode())
            self.user_file(r("key4.db"), self.data(294912))
            self.user_file(r("bookmarkbackups\\bookmarks-2026-12-01_118_%s.jsonlz4" % self.hexname(8)), self.data(40 * KB))
            self.user_file(r("extensions.json"), b'{"addons": []}')
            self.user_file(r("parent.lock"), b"")
            self.user_sqlite(r("cookies.sqlite"),
                             "CREATE TABLE moz_cookies (id INTEGER PRIMARY KEY, host TEXT, name TEXT, value TEXT);" +
                             "".join("INSERT INTO moz_cookies VALUES (%d, '.site%d.example', 'sid', '%s');" %
                                     (k, k, self.data(8).hex()) for k in range(150)), self.cookies)
            self.places_db(r("places.sqlite"))
        self.user_file(self.host("roaming", "Mozilla\\Firefox\\profiles.ini"), ini.encode())
        self.user_file(self.host("roaming", "Mozilla\\Firefox\\installs.ini"),
                       b"[308046B0AF4A39CB]\r\nDefault=Profiles/x7k2m9qa.default-release\r\nLocked=1\r\n")

    def places_db(self, path):
        sql = """
CREATE TABLE moz_origins (id INTEGER PRIMARY KEY, prefix TEXT, host TEXT, frecency INTEGER);
CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url LONGVARCHAR, title LONGVARCHAR, visit_count INTEGER DEFAULT 0,
  last_visit_date INTEGER, foreign_count INTEGER NOT NULL DEFAULT 0, origin_id INTEGER REFERENCES moz_origins(id));
CREATE TABLE moz_historyvisits (id INTEGER PRIMARY KEY, from_visit INTEGER, place_id INTEGER, visit_date INTEGER,
  visit_type INTEGER, session INTEGER);
CREATE TABLE moz_bookmarks (id INTEGER PRIMARY KEY, type INTEGER, fk INTEGER DEFAULT NULL, parent INTEGER,
  position INTEGER, title LONGVARCHAR);
CREATE TABLE moz_keywords (id INTEGER PRIMARY KEY AUTOINCREMENT, keyword TEXT UNIQUE, place_id INTEGER, post_data TEXT);
CREATE TABLE moz_anno_attributes (id INTEGER PRIMARY KEY, name VARCHAR(32) UNIQUE NOT NULL);
CREATE TABLE moz_annos (id INTEGER PRIMARY KEY, place_id INTEGER NOT NULL, anno_attribute_id INTEGER, content LONGVARCHAR);
CREATE TABLE moz_inputhistory (place_id INTEGER NOT NULL, input LONGVARCHAR NOT NULL, use_count INTEGER,
  PRIMARY KEY (place_id, input));
INSERT INTO moz_origins VALUES (1, 'https://', 'example.org', 1);
INSERT INTO moz_bookmarks VALUES (1, 2, NULL, 0, 0, 'root');
"""
        for k in range(2, 402):
            marked = k % 8 == 0
            sql += "INSERT INTO moz_places VALUES (%d, 'https://example.org/page%d', 'Page %d', 2, %d, %d, 1);\n" % (
                k, k, k, k * 1000, 1 if marked else 0)
            sql += "INSERT INTO moz_historyvisits VALUES (%d, 0, %d, %d, 1, 0);\n" % (k, k, k * 1000)
            if marked:
                sql += "INSERT INTO moz_bookmarks VALUES (%d, 1, %d, 1, %d, 'Bookmark %d');\n" % (k, k, k, k)
        self.user_sqlite(path, sql, {})
        self.places.append([path, self.bookmarks(path)])

    @staticmethod
    def bookmarks(path):
        try:
            db = sqlite3.connect("file:%s?mode=ro" % path, uri=True)
            rows = db.execute("SELECT b.id, b.title, p.url FROM moz_bookmarks b LEFT JOIN moz_places p ON p.id = b.fk "
                              "ORDER BY b.id").fetchall()
            db.close()
            return hashlib.sha256(repr(rows).encode()).hexdigest()
        except sqlite3.Error as e:
            return "unreadable: %s" % e

    # --- today's Windows ----------------------------------------------------
    def windows(self, scale):
        cls = "Temp folders"
        for k in range(int(260 * scale)):
            sub = ["", "", "%s.tmp\\" % self.hexname(8).upper(), "chrome_BITS_%d\\" % (k % 7),
                   "{%s-%s}\\" % (self.hexname(8).upper(), self.hexname(4).upper())][k % 5]
            self.junk_file(cls, self.host("temp", sub + "tmp%s.tmp" % self.hexname(4).upper()), self.size(60 * KB, 1.6))
        for k in range(4):
            self.junk_file(cls, self.host("temp", "setup_%d\\installer.msi" % k), self.size(25 * MB, 0.6))
        self.root(cls, "rd", "temp", "")
        for k in range(int(40 * scale)):
            self.junk_file(cls, self.host("wintemp", "MpCmdRun_%d.log" % k if k % 4 else "DISM%d\\dism.log" % k),
                           self.size(100 * KB))
        self.root(cls, "rd", "wintemp", "")

        cls = "Thumbnail and icon caches"
        explorer = "Microsoft\\Windows\\Explorer\\"
        for name, size in [("thumbcache_16", 1 * MB), ("thumbcache_32", 2 * MB), ("thumbcache_48", 1 * MB),
                           ("thumbcache_96", 9 * MB), ("thumbcache_256", 38 * MB), ("thumbcache_768", 6 * MB),
                           ("thumbcache_1280", 12 * MB), ("thumbcache_1920", 3 * MB), ("thumbcache_2560", 1 * MB),
                           ("thumbcache_custom_stream", 1 * MB), ("thumbcache_exif", 1 * MB), ("thumbcache_idx", 1 * MB),
                           ("thumbcache_sr", 1 * MB), ("thumbcache_wide", 1 * MB), ("thumbcache_wide_alternate", 1 * MB),
                           ("iconcache_16", 4 * MB), ("iconcache_32", 8 * MB), ("iconcache_48", 6 * MB),
                           ("iconcache_256", 12 * MB), ("iconcache_idx", 1 * MB), ("iconcache_wide", 1 * MB)]:
            self.junk_file(cls, self.host("local", explorer + name + ".db"), size)
        self.root(cls, "del", "local", explorer + "thumbcache_*.db")
        self.root(cls, "del", "local", explorer + "iconcache_*.db")
        self.write(self.host("local", explorer + "ExplorerStartupLog.etl"), 64 * KB)

        cls = "Crash dumps"
        for k, image in enumerate(["Teams.exe", "explorer.exe", "steamwebhelper.exe", "GameBar.exe", "Discord.exe"]):
            self.junk_file(cls, self.host("local", "CrashDumps\\%s.%d.dmp" % (image, 4000 + k * 17)), self.size(30 * MB, 0.8))
        self.root(cls, "rd", "local", "CrashDumps")

        cls = "Error reports"
        for k in range(int(14 * scale)):
            kind = "ReportArchive" if k % 3 else "ReportQueue"
            folder = "Microsoft\\Windows\\WER\\%s\\AppCrash_app%d.exe_%s_%s\\" % (kind, k, self.hexname(40), self.hexname(8))
            self.junk_file(cls, self.host("local", folder + "Report.wer"), self.size(8 * KB))
            if k % 4 == 0:
                self.junk_file(cls, self.host("local", folder + "memory.hdmp"), self.size(60 * MB, 0.5))
                self.junk_file(cls, self.host("local", folder + "minidump.mdmp"), self.size(400 * KB))
        self.junk_file(cls, self.host("local", "Microsoft\\Windows\\WER\\Temp\\WER%s.tmp.xml" % self.hexname(4)), 12 * KB)
        self.root(cls, "rd", "local", "Microsoft\\Windows\\WER")

        cls = "Shader caches"
        for k in range(int(16 * scale)):
            folder = "D3DSCache\\%s\\" % self.hexname(16)
            name = self.hexname(8)
            self.junk_file(cls, self.host("local", folder + name + ".idx"), self.size(64 * KB))
            self.junk_file(cls, self.host("local", folder + name + ".val"), self.size(3 * MB, 1.2))
            self.junk_file(cls, self.host("local", folder + name + ".lock"), 0)
        for k in range(int(40 * scale)):
            self.junk_file(cls, self.host("local", "NVIDIA\\DXCache\\%s.nvph" % self.hexname(30)), self.size(1 * MB, 1.2))
        for k in range(int(20 * scale)):
            self.junk_file(cls, self.host("local", "NVIDIA\\GLCache\\%s\\%s\\%s.bin" % (
                self.hexname(32), self.hexname(4), self.hexname(16))), self.size(300 * KB))
        for folder in ("D3DSCache", "NVIDIA\\DXCache", "NVIDIA\\GLCache"):
            self.root(cls, "rd", "local", folder)
        self.user_file(self.host("local", "NVIDIA Corporation\\NVIDIA app\\settings.json"), b'{"overlay": true}')

        cls = "Jump lists"
        recent = "Microsoft\\Windows\\Recent\\"
        for k in range(int(45 * scale)):
            self.junk_file(cls, self.host("roaming", recent + "AutomaticDestinations\\%s.automaticDestinations-ms" %
                                          self.hexname(16)), self.size(40 * KB, 1.2))
        for k in range(int(12 * scale)):
            self.junk_file(cls, self.host("roaming", recent + "CustomDestinations\\%s.customDestinations-ms" %
                                          self.hexname(16)), self.size(15 * KB))
        self.root(cls, "rd", "roaming", recent + "AutomaticDestinations")
        self.root(cls, "rd", "roaming", recent + "CustomDestinations")

        cls = "Recent items"
        for k in range(int(150 * scale)):
            self.junk_file(cls, self.host("roaming", recent + "Document %d.lnk" % k), self.size(1200, 0.3))
        self.root(cls, "del", "roaming", recent + "*.lnk")

        cls = "Legacy IE cache"
        for k in range(4):
            folder = "IE\\%s\\" % self.hexname(8).upper()
            for n in range(int(90 * scale)):
                self.junk_file(cls, self.host("iecache", folder + "page%d[1].%s" % (n, ["htm", "js", "css", "png"][n % 4])),
                               self.size(15 * KB, 1.2))
        self.root(cls, "rd", "iecache", "IE")

    def documents(self):
        for folder, names, median in [
            ("Documents", ["Tax return 2025.pdf", "CV.docx", "Budget.xlsx", "Notes.txt", "Thesis.docx"], 200 * KB),
            ("Pictures", ["IMG_%04d.jpg" % k for k in range(25)], 400 * KB),
            ("Desktop", ["Todo.txt", "Project plan.docx"], 30 * KB),
            ("Downloads", ["setup-tool-1.2.exe", "manual.pdf", "photos.zip"], 800 * KB),
        ]:
            for name in names:
                self.user_file(self.host("profile", folder + "\\" + name), self.data(self.size(median, 0.8)))
        for k in range(12):
            self.user_file(self.host("profile", "Documents\\Projects\\Report %d.docx" % k), self.data(self.size(50 * KB)))


def generate(bases_path, manifest_path, scale):
    with open(bases_path) as f:
        profile = Profile(json.load(f))
    profile.chromium("Chrome caches", "local", "Google\\Chrome\\User Data", ["Default", "Profile 1"], [], scale)
    # Edge lists one profile; the second is on disk only (a "Local State" out of date).
    profile.chromium("Edge caches", "local", "Microsoft\\Edge\\User Data", ["Default"], ["Profile 1"], scale)
    profile.firefox(scale)
    profile.windows(scale)
    profile.documents()
    with open(manifest_path, "w") as f:
        json.dump({"junk": profile.junk, "roots": profile.roots, "user": profile.user, "cookies": profile.cookies,
                   "places": profile.places}, f)
    files = sum(len(v) for v in profile.junk.values())
    size = sum(s for v in profile.junk.values() for _, s in v)
    print("profile: %d junk files, %.1f MB of junk in %d classes; %d user files" % (
        files, size / MB, len(profile.junk), len(profile.user) + len(profile.cookies)))


def sha(path):
    try:
        with open(path, "rb") as f:
            return hashlib.sha256(f.read()).hexdigest()
    except OSError:
        return "missing"


def measure(manifest_path):
    with open(manifest_path) as f:
        m = json.load(f)
    result = {"classes": {}, "lost": [], "cookies_changed": 0, "cookie_files": len(m["cookies"])}
    total = freed = 0
    for cls, files in m["junk"].items():
        before = sum(s for _, s in files)
        left = sum(s for p, s in files if os.path.lexists(p))
        left_files = sum(1 for p, _ in files if os.path.lexists(p))
        result["classes"][cls] = {"files": len(files), "bytes": before, "freed": before - left, "left_files": left_files}
        total += before
        freed += before - left
    result["total"], result["freed"] = total, freed
    result["user_files"] = len(m["user"]) + len(m["places"])
    for path, digest in m["user"].items():
        if sha(path) != digest:
            result["lost"].append(path)
    for path, digest in m["places"]:
        if Profile.bookmarks(path) != digest:
            result["lost"].append(path + " (bookmarks)")
    result["cookies_changed"] = sum(1 for p, d in m["cookies"].items() if sha(p) != d)
    result["cookies_changed_paths"] = [p for p, d in m["cookies"].items() if sha(p) != d]
    print(json.dumps(result))


def system_batch(manifest_path, batch_path):
    with open(manifest_path) as f:
        m = json.load(f)
    lines = ["@echo off"]
    for cls, roots in m["roots"].items():
        for kind, path in roots:
            lines.append(('rd /s /q "%s"' if kind == "rd" else 'del /f /q /a "%s"') % path)
    with open(batch_path, "w", newline="\r\n") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    command = sys.argv[1] if len(sys.argv) > 1 else ""
    if command == "generate":
        generate(sys.argv[2], sys.argv[3], float(os.environ.get("CV_BENCH_SCALE", "1")))
    elif command == "measure":
        measure(sys.argv[2])
    elif command == "system-batch":
        system_batch(sys.argv[2], sys.argv[3])
    else:
        sys.exit(__doc__)
