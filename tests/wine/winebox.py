"""A throwaway 32-bit Wine prefix with the stand-ins installed, and scenarios run inside it.

Everything a scenario observes comes from outside the tool: the stand-ins' shared journal
(companions, removal runs, the browser, the dialog, the launcher), files and the registry.
"""

import os
import shutil
import signal
import subprocess
import time
from dataclasses import dataclass
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
WINDOWS_BUILD = Path(os.environ.get("VELNOR_WINDOWS_BUILD", ROOT / "build" / "windows"))
DEFAULT_PREFIX = Path(os.environ.get("VELNOR_WINE_PREFIX", ROOT / "build" / "wine" / "prefix"))
# win32, or win64: the 32-bit tool then runs under WoW64 and sees the registry's 32-bit view.
DEFAULT_ARCH = os.environ.get("VELNOR_WINEARCH", "win32")
STANDINS = WINDOWS_BUILD / "tools" / "standins"

CLIENT_VERSION_KEY = r"HKEY_USERS\.DEFAULT\Software\Orvandel\VelnorClient\Version 1.0"
CLIENT_OPTIONS_KEY = r"HKEY_USERS\.DEFAULT\Software\Orvandel\VelnorClient\Installation Options"
GATEWAY_SETTINGS_KEY = r"HKEY_USERS\.DEFAULT\Software\Orvandel\VelnorGatewayExtensions"
GATEWAY_APP_PATHS_KEY = (
    r"HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\KivGatewayExt.exe")
SURVEY_URL = "http://www.orvandel.com/uninstall/survey.cfm"
PROMPT = ("Orvandel would like to learn more about why\nyou're uninstalling Velnor.\n\n"
          "Would you like to participate in our exit survey?")


@dataclass
class Event:
    tick: int
    source: str
    kind: str
    details: bytes

    @property
    def text(self):
        return self.details.decode("latin-1")

    def field(self, name):
        """The value after "name=" up to the next blank; cmdline= and text= run to the end."""
        text = self.text
        start = text.find(name + "=")
        if start < 0:
            return None
        value = text[start + len(name) + 1:]
        return value if name in ("cmdline", "text") else value.split(" ")[0]


def unescape(text):
    return text.replace("\\n", "\n").replace("\\r", "\r").replace("\\\\", "\\")


class WineBox:
    """One prefix, one Xvfb display and one persistent wineserver for a test module."""

    def __init__(self, prefix=DEFAULT_PREFIX, arch=DEFAULT_ARCH):
        self.prefix = Path(prefix)
        self.drive_c = self.prefix / "drive_c"
        self.arch = arch
        self.env = dict(os.environ, WINEPREFIX=str(self.prefix), WINEARCH=arch,
                        WINEDEBUG="-all", LANG="C.UTF-8", WINEDLLOVERRIDES="mscoree,mshtml=")
        self.env.pop("STANDIN_LOG", None)
        self._xvfb = None

    # --- Life of the prefix ---------------------------------------------------------------------
    def create(self):
        """A new prefix."""
        shutil.rmtree(self.prefix, ignore_errors=True)
        self.prefix.parent.mkdir(parents=True, exist_ok=True)
        # Wine's services inherit standard output: never wait on a pipe of theirs.
        subprocess.run(["wineboot", "-i"], env=self.env, check=True, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=600)
        subprocess.run(["wineserver", "-w"], env=self.env, check=True, timeout=600)

    def install_standins(self):
        standins = self.drive_c / "standins"
        standins.mkdir(exist_ok=True)
        for name in ("companion", "browser", "answer_dialog", "launch"):
            shutil.copy(STANDINS / f"{name}.exe", standins / f"{name}.exe")

    def start(self, display=None):
        """display: an X display to use; none: a private Xvfb."""
        if not (self.prefix / "system.reg").exists():
            self.create()
        self.install_standins()
        if display:
            self.env["DISPLAY"] = display
        else:
            self._start_xvfb()
        subprocess.run(["wineserver", "-k"], env=self.env, stderr=subprocess.DEVNULL)
        subprocess.run(["wineserver", "-p"], env=self.env, check=True)
        self.wine(["cmd", "/c", "exit"])  # brings the prefix's services up once

    def _start_xvfb(self):
        read, write = os.pipe()
        self._xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
            pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as display:
            self.env["DISPLAY"] = ":" + display.readline().strip()

    def stop(self):
        subprocess.run(["wineserver", "-k"], env=self.env, stderr=subprocess.DEVNULL)
        subprocess.run(["wineserver", "-w"], env=self.env, timeout=60)
        if self._xvfb:
            self._xvfb.terminate()
            self._xvfb.wait(timeout=10)

    # --- Commands -------------------------------------------------------------------------------
    def wine(self, args, cwd=None, extra_env=None, timeout=300):
        env = dict(self.env, **(extra_env or {}))
        return subprocess.run(["wine", *args], cwd=cwd, env=env, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL, timeout=timeout)

    def import_registry(self, text):
        path = self.drive_c / "seed.reg"
        path.write_text("REGEDIT4\r\n\r\n" + text.replace("\n", "\r\n"), encoding="latin-1")
        # In a 64-bit prefix the 32-bit regedit writes what a 32-bit installer would.
        regedit = r"C:\windows\syswow64\regedit.exe" if self.arch == "win64" else "regedit"
        self.wine([regedit, "/s", r"C:\seed.reg"], timeout=60)
        path.unlink()

    def key_exists(self, key, view="32"):
        """Whether key exists in the registry view of 32-bit programs, or of 64-bit ones."""
        views = ["/reg:" + view] if self.arch == "win64" else []
        return self.wine(["reg", "query", key, *views], timeout=60).returncode == 0

    def screenshot(self, path):
        subprocess.run(["import", "-display", self.env["DISPLAY"], "-window", "root", str(path)],
                       check=True, capture_output=True, timeout=30)


def windows_path(box, path):
    return "C:\\" + str(Path(path).relative_to(box.drive_c)).replace("/", "\\")


def reg_string(value):
    return '"' + value.replace("\\", "\\\\").replace('"', '\\"') + '"'


@dataclass
class Run:
    exit_code: int
    started: int   # tick when the launcher started the tool
    ended: int     # tick when the tool had exited

    @property
    def seconds(self):
        return (self.ended - self.started) / 1000


class Scenario:
    """A fresh folder (the tool's current directory) and a fresh registry state."""

    def __init__(self, box, name):
        self.box = box
        self.folder = box.drive_c / name
        shutil.rmtree(self.folder, ignore_errors=True)
        self.folder.mkdir(parents=True)
        self.win_folder = windows_path(box, self.folder)
        self.log = self.folder / "journal.log"
        self.env = {"STANDIN_LOG": self.win_folder + "\\journal.log"}
        self._background = []
        shutil.copy(WINDOWS_BUILD / "VelnorUninstall.exe", self.folder / "VelnorUninstall.exe")
        for companion in ("VelnorClient.exe", "KivGatewayExt.exe"):
            shutil.copy(STANDINS / "companion.exe", self.folder / companion)
        self.seed_registry()

    # --- The scene ------------------------------------------------------------------------------
    def seed_registry(self, identity=("U123", "host.example.org", "ABCD-1234"), option=0,
                      app_path=None, htm_association=True, extra=""):
        """identity: user id, domain name and key, None for a missing value; option: the
        gateway option (None: absent); app_path: None (no key), "" (key without Path) or a Path."""
        lines = [r"[-HKEY_USERS\.DEFAULT\Software\Orvandel]", f"[-{GATEWAY_APP_PATHS_KEY}]",
                 f"[{CLIENT_VERSION_KEY}]"]
        for name, value in zip(("KivUID", "DomainName", "RegKey"), identity or ()):
            if value is not None:
                lines.append(f'"{name}"={reg_string(value)}')
        if option is not None:
            lines += [f"[{CLIENT_OPTIONS_KEY}]", f'"Velnor Gateway Extensions"=dword:{option:08x}']
        lines += [f"[{GATEWAY_SETTINGS_KEY}]", '"Port"="8080"']
        if app_path is not None:
            lines.append(f"[{GATEWAY_APP_PATHS_KEY}]")
            lines.append("@=" + reg_string(self.win_folder + "\\KivGatewayExt.exe"))
            if app_path:
                lines.append(f'"Path"={reg_string(app_path)}')
        browser = r"C:\standins\browser.exe"
        htm_command = reg_string(browser + ' "%1"')
        url_command = reg_string(browser + ' --shell "%1"')
        for root in (r"HKEY_LOCAL_MACHINE\Software\Classes", r"HKEY_CURRENT_USER\Software\Classes"):
            lines += [f"[-{root}\\.htm]", f"[-{root}\\velnortest.htm]", f"[-{root}\\http]"]
        if htm_association:
            lines += [r"[HKEY_LOCAL_MACHINE\Software\Classes\.htm]", '@="velnortest.htm"',
                      r"[HKEY_LOCAL_MACHINE\Software\Classes\velnortest.htm\shell\open\command]",
                      f"@={htm_command}"]
        # The shell's road for URLs, marked so that the tests tell it from the direct start.
        lines += [r"[HKEY_LOCAL_MACHINE\Software\Classes\http]", '@="URL:HTTP"',
                  '"URL Protocol"=""',
                  r"[HKEY_LOCAL_MACHINE\Software\Classes\http\shell\open\command]",
                  f"@={url_command}"]
        self.box.import_registry("\n".join(lines) + "\n" + extra + "\n")

    def start_companion(self, name, on_request="exit", other_account=False, **settings):
        """name: "VelnorClient" or "KivGatewayExt"; waits until it holds its presence mutex."""
        env = dict(self.env)
        env[f"{name.upper()}_ON_REQUEST"] = on_request
        if other_account:
            env[f"{name.upper()}_OTHER_ACCOUNT"] = "1"
        for key, value in settings.items():
            env[f"{name.upper()}_{key.upper()}"] = str(value)
        self._spawn([f"{self.win_folder}\\{name}.exe"], env)
        self.wait_for(name, "started")

    def start_answerer(self, answer="yes", delay_ms=300):
        self._spawn([r"C:\standins\answer_dialog.exe"],
                    dict(self.env, ANSWER=answer, ANSWER_DELAY_MS=str(delay_ms),
                         ANSWER_WAIT_MS="90000"))

    def _spawn(self, args, env):
        process = subprocess.Popen(["wine", *args], cwd=self.folder,
                                   env=dict(self.box.env, **env), stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        self._background.append(process)

    # --- Running the tool -----------------------------------------------------------------------
    def run_tool(self, tail=b"", command_line=None, app=None, removal_env=None, timeout=180):
        """Starts the tool through the launcher: command_line is the exact raw command line
        (default: the program name, a blank and tail)."""
        if command_line is None:
            command_line = b"VelnorUninstall.exe " + tail
        env = dict(self.env, LAUNCH_APP=app or f"{self.win_folder}\\VelnorUninstall.exe",
                   LAUNCH_CMDLINE_HEX=command_line.hex(), **(removal_env or {}))
        launched = self.box.wine([r"C:\standins\launch.exe"], cwd=self.folder, extra_env=env,
                                 timeout=timeout)
        starts = self.events("launch", "start")
        ends = self.events("launch", "exited")
        assert starts and ends, f"the launcher did not run the tool: {self.events()}"
        code = int(ends[-1].field("code"))
        assert code == launched.returncode
        return Run(code, starts[-1].tick, ends[-1].tick)

    # --- Observing --------------------------------------------------------------------------------
    def events(self, source=None, kind=None):
        if not self.log.exists():
            return []
        found = []
        for line in self.log.read_bytes().splitlines():
            parts = line.split(b" ", 3)
            if len(parts) < 3:
                continue
            event = Event(int(parts[0]), parts[1].decode(), parts[2].decode(),
                          parts[3] if len(parts) > 3 else b"")
            if (source is None or event.source == source) and (kind is None or event.kind == kind):
                found.append(event)
        return found

    def wait_for(self, source, kind, timeout=30.0):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            found = self.events(source, kind)
            if found:
                return found[0]
            time.sleep(0.05)
        raise AssertionError(f"no '{source} {kind}' within {timeout} s: {self.events()}")

    def close(self):
        for process in self._background:
            if process.poll() is None:
                process.send_signal(signal.SIGKILL)
            process.wait(timeout=30)
