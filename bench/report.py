"""Measures the real exe under Wine and prints a table:
- from a companion leaving to the tool returning (several runs);
- the give-up time with a companion that ignores the request;
- start to exit of a run without a keyword, against a minimal exe built the same way;
- the stripped exe's size and the DLLs it imports."""

import argparse
import shutil
import statistics
import subprocess
import sys
import tempfile
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "wine"))
from winebox import WINDOWS_BUILD, Scenario, WineBox  # noqa: E402


def leave_to_return(box, runs):
    times = []
    for i in range(runs):
        scene = Scenario(box, f"leave{i}")
        scene.start_companion("VelnorClient", on_request=f"delay:{300 * i}")
        run = scene.run_tool(b"shutdown_client")
        times.append((run.ended - scene.events("VelnorClient", "leaving")[0].tick) / 1000)
        scene.close()
    return times


def give_up(box, runs):
    times = []
    for i in range(runs):
        scene = Scenario(box, f"ignore{i}")
        scene.start_companion("VelnorClient", on_request="ignore")
        times.append(scene.run_tool(b"shutdown_client").seconds)
        scene.close()
    return times


def start_to_exit(box, runs):
    scene = Scenario(box, "startup")
    shutil.copy(WINDOWS_BUILD / "bench" / "minimal.exe", scene.folder / "minimal.exe")
    tool, minimal = [], []
    for _ in range(runs):
        tool.append(scene.run_tool(b"").seconds)
        minimal.append(scene.run_tool(command_line=b"minimal.exe",
                                      app=scene.win_folder + "\\minimal.exe").seconds)
    scene.close()
    return tool, minimal


def imports(exe):
    dump = subprocess.run(["i686-w64-mingw32-objdump", "-p", str(exe)], capture_output=True,
                          text=True, check=True).stdout
    return [line.split("DLL Name:")[1].strip() for line in dump.splitlines() if "DLL Name:" in line]


def row(what, values, unit="s"):
    if len(values) == 1:
        return f"| {what} | {values[0]:.3f} {unit} | 1 run |"
    return (f"| {what} | median {statistics.median(values):.3f} {unit}, "
            f"min {min(values):.3f}, max {max(values):.3f} | {len(values)} runs |")


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--give-up-runs", type=int, default=2)
    options = parser.parse_args()
    with tempfile.TemporaryDirectory(prefix="velnor-bench-") as workspace:
        box = WineBox(Path(workspace) / "prefix")
        box.start()
        try:
            leave = leave_to_return(box, options.runs)
            ignored = give_up(box, options.give_up_runs)
            tool, minimal = start_to_exit(box, options.runs * 4)
        finally:
            box.stop()
    exe = WINDOWS_BUILD / "VelnorUninstall.exe"
    print("| measure | value | runs |")
    print("|---|---|---|")
    print(row("companion leaves -> tool returns (poll interval 2 s)", leave))
    print(row("give-up time, companion ignoring the request", ignored))
    print(row("start to exit, no keyword: VelnorUninstall.exe", tool))
    print(row("start to exit: minimal exe built the same way", minimal))
    print(f"| VelnorUninstall.exe, stripped | {exe.stat().st_size} bytes | |")
    print(f"| imported DLLs | {', '.join(imports(exe))} | |")


if __name__ == "__main__":
    main()
