"""Which action a command line starts: keyword order, substrings, case and the program name."""

import unittest

from wine_case import WineTestCase, setUpModule, tearDownModule  # noqa: F401


class KeywordDispatch(WineTestCase):
    """Both companions run and leave at once when asked; the answer to the prompt is No."""

    def actions_for(self, command_line, app=None):
        self.scene.start_companion("VelnorClient")
        self.scene.start_companion("KivGatewayExt")
        self.scene.start_answerer("no")
        self.scene.run_tool(command_line=command_line, app=app)
        seen = []
        for event in self.scene.events():
            if event.kind in ("request-seen", "removal-started"):
                seen.append(f"{event.source} {event.kind}")
            if event.source == "dialog" and event.kind == "shown":
                seen.append("prompt")
        return seen

    def test_cases(self):
        client_shutdown = ["VelnorClient request-seen"]
        gateway_shutdown = ["KivGatewayExt request-seen"]
        client_uninstall = ["VelnorClient request-seen", "VelnorClient removal-started", "prompt"]
        gateway_uninstall = ["KivGatewayExt request-seen", "KivGatewayExt removal-started"]
        cases = [
            ("first row wins", b"VelnorUninstall.exe uninstall_client shutdown_client",
             None, client_shutdown),
            ("row 2", b"VelnorUninstall.exe -x shutdown_gatewayext", None, gateway_shutdown),
            ("row 3 before row 4", b"VelnorUninstall.exe uninstall_gatewayext uninstall_client",
             None, client_uninstall),
            ("embedded", b"VelnorUninstall.exe /xyuninstall_gatewayext7", None,
             gateway_uninstall),
            ("other case", b"VelnorUninstall.exe Shutdown_Client", None, []),
            ("keyword only in the quoted program name",
             b'"C:\\{dir}\\uninstall_client\\VelnorUninstall.exe"', "sub", []),
            ("rest of an unquoted program name with a blank",
             b"C:\\{dir}\\my shutdown_client\\VelnorUninstall.exe", "blank", client_shutdown),
            ("byte 160 belongs to the program name",
             b"VelnorUninstall.exe\xa0shutdown_client", None, []),
            ("bytes of 128 and above in the tail", b"VelnorUninstall.exe \xe9shutdown_client\xff",
             None, client_shutdown),
        ]
        for label, command_line, copy_to, expected in cases:
            with self.subTest(label):
                self.new_scene(label)
                app = None
                if copy_to:
                    folder = {"sub": "uninstall_client", "blank": "my shutdown_client"}[copy_to]
                    target = self.scene.folder / folder
                    target.mkdir()
                    (target / "VelnorUninstall.exe").write_bytes(
                        (self.scene.folder / "VelnorUninstall.exe").read_bytes())
                    app = f"{self.scene.win_folder}\\{folder}\\VelnorUninstall.exe"
                    command_line = command_line.replace(
                        b"C:\\{dir}", self.scene.win_folder.encode())
                self.assertEqual(self.actions_for(command_line, app), expected)


if __name__ == "__main__":
    unittest.main()
