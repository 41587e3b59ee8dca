"""The sandbox: a throwaway Wine prefix with a demo client (and a gateway extension installed
with it), the stand-in companions running, the real tool run with a keyword, and a timeline of
what could be seen from outside."""

import argparse
import os
import sys
import tempfile
import threading
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "wine"))
from winebox import (CLIENT_VERSION_KEY, GATEWAY_APP_PATHS_KEY,  # noqa: E402
                     GATEWAY_SETTINGS_KEY, Scenario, WineBox, unescape)

KEYWORDS = ("shutdown_client", "shutdown_gatewayext", "uninstall_client", "uninstall_gatewayext")
SHOW_MODES = {"0": "SW_HIDE", "1": "SW_SHOWNORMAL", "5": "SW_SHOW"}
BEHAVIOURS = {"obey": "delay:1000", "ignore": "ignore"}


def parse_arguments():
    parser = argparse.ArgumentParser(prog="tools/sandbox", description=__doc__)
    parser.add_argument("keyword", nargs="?", default="uninstall_client", choices=KEYWORDS)
    parser.add_argument("--companions", choices=("absent", "obey", "ignore"), default="obey",
                        help="the running client and gateway extension: not running, leaving "
                             "1 s after the request (default), or ignoring it")
    parser.add_argument("--gateway", choices=("with-client", "own", "none"), default="with-client",
                        help="the gateway extension: installed with the client (default), "
                             "installed on its own (with an App Paths entry), or not installed")
    parser.add_argument("--answer", choices=("yes", "no", "self"), default="yes",
                        help="the survey answer; self: answer it yourself on $DISPLAY")
    parser.add_argument("--screenshot", metavar="FILE", help="save a PNG of the survey prompt")
    parser.add_argument("--removal-seconds", type=float, default=1.0,
                        help="how long each companion's -remove run takes (default 1)")
    return parser.parse_args()


def describe(event, origin):
    at = f"+{(event.tick - origin) / 1000:6.2f} s"
    who = event.source
    if event.kind == "start":
        return f"{at}  the tool starts: {event.text}"
    if event.kind == "exited":
        return f"{at}  the tool exits with code {event.field('code')}"
    if event.kind == "request-seen":
        return f"{at}  {who} sees its shutdown request ({who}_ShutDownNow)"
    if event.kind == "request-gone":
        return f"{at}  {who}'s shutdown request is gone"
    if event.kind == "leaving":
        return f"{at}  {who} exits"
    if event.kind == "removal-started":
        show = SHOW_MODES.get(event.field("show"), event.field("show"))
        return (f"{at}  {who} removal run starts: \"{event.field('cmdline')}\", {show}, "
                f"start-up flags {event.field('flags')}, request {event.field('request')}")
    if event.kind == "removal-done":
        return f"{at}  {who} removal run ends"
    if event.kind == "shown":
        caption = event.text.split("caption=", 1)[1].split("|text=")[0]
        text = unescape(event.text.split("|text=", 1)[1])
        return f"{at}  prompt \"{caption}\":\n" + "\n".join(
            f"              | {line}" for line in text.split("\n"))
    if event.kind == "answered":
        return f"{at}  the prompt is answered {event.text.capitalize()}"
    if event.kind == "opened":
        road = "the shell's open verb" if "--shell" in event.text else "the .htm program"
        show = SHOW_MODES.get(event.field("show"), event.field("show"))
        return f"{at}  the browser opens ({road}, {show}), command line: \"{event.field('cmdline')}\""
    return None


def main():
    options = parse_arguments()
    with tempfile.TemporaryDirectory(prefix="velnor-sandbox-") as workspace:
        box = WineBox(Path(workspace) / "prefix")
        print("making a throwaway Wine prefix ...", flush=True)
        box.start(display=os.environ.get("DISPLAY") if options.answer == "self" else None)
        try:
            run_story(box, options)
        finally:
            box.stop()


def run_story(box, options):
    scene = Scenario(box, "Velnor")
    gateway_option = 1 if options.gateway == "with-client" else 0
    app_path = r"C:\Program Files\Kiv" if options.gateway == "own" else None
    scene.seed_registry(identity=("U-20481", "ws042.corp.example.org", "VX7Q-2K9M"),
                        option=gateway_option, app_path=app_path)
    if options.gateway == "none":
        (scene.folder / "KivGatewayExt.exe").unlink()
    print(f"client settings under {CLIENT_VERSION_KEY}: KivUID=U-20481, "
          "DomainName=ws042.corp.example.org, RegKey=VX7Q-2K9M")
    print(f"gateway extension: {options.gateway}; companions: {options.companions}")
    if options.companions != "absent":
        scene.start_companion("VelnorClient", BEHAVIOURS[options.companions])
        if options.gateway != "none":
            scene.start_companion("KivGatewayExt", BEHAVIOURS[options.companions])
    if options.answer != "self":
        scene.start_answerer(options.answer, delay_ms=1500 if options.screenshot else 500)
    if options.screenshot:
        threading.Thread(target=take_screenshot, args=(box, scene, options.screenshot),
                         daemon=True).start()
    removal_ms = str(int(options.removal_seconds * 1000))
    print(f"running: VelnorUninstall.exe {options.keyword}\n", flush=True)
    run = scene.run_tool(options.keyword.encode(), removal_env={
        "VELNORCLIENT_REMOVE_MS": removal_ms, "KIVGATEWAYEXT_REMOVE_MS": removal_ms})
    time.sleep(3)  # a browser or removal run started last may still be on its way
    for event in sorted(scene.events(), key=lambda e: e.tick):
        if event.kind == "started":
            continue
        line = describe(event, run.started)
        if line:
            print(line)
    print("\nafterwards:")
    gateway_exe = scene.folder / "KivGatewayExt.exe"
    print(f"  KivGatewayExt.exe in the current directory: "
          f"{'present' if gateway_exe.exists() else 'absent'}")
    for key in (GATEWAY_SETTINGS_KEY, GATEWAY_APP_PATHS_KEY):
        print(f"  {key}: {'present' if box.key_exists(key) else 'absent'}")
    print(f"  the tool ran {run.seconds:.1f} s and exited with code {run.exit_code}")
    if options.screenshot:
        print(f"  screenshot of the prompt: {options.screenshot}")
    scene.close()


def take_screenshot(box, scene, path):
    try:
        scene.wait_for("dialog", "shown", timeout=120)
        time.sleep(0.5)
        box.screenshot(Path(path).resolve())
    except AssertionError:
        pass


if __name__ == "__main__":
    main()
