"""Hidden removal runs and the cleanup of a gateway extension installed with the client."""

import unittest

from winebox import DEFAULT_ARCH, GATEWAY_APP_PATHS_KEY, GATEWAY_SETTINGS_KEY
from wine_case import WineTestCase, setUpModule, tearDownModule  # noqa: F401


class RemovalRun(WineTestCase):
    def test_starts_the_removal_hidden_with_its_exact_command_line(self):
        run = self.run_tool(b"uninstall_gatewayext")
        removal = self.scene.wait_for("KivGatewayExt", "removal-started")
        self.assertEqual(removal.field("cmdline"), "KivGatewayExt.exe -remove")
        self.assertEqual(removal.field("flags"), "0x1", "STARTF_USESHOWWINDOW only")
        self.assertEqual(removal.field("show"), "0", "SW_HIDE")
        self.assertBetween((removal.tick - run.started) / 1000, 0, 1.9, "removal started after")
        self.assertBetween(run.seconds, 0, 3, "seconds to return")

    def test_a_30_second_removal_is_waited_for_10_s_and_completes_on_its_own(self):
        run = self.run_tool(b"uninstall_gatewayext", removal_env={"KIVGATEWAYEXT_REMOVE_MS": "30000"})
        self.assertBetween(run.seconds, 9.8, 13, "seconds to return")
        self.assertEqual(self.scene.events("KivGatewayExt", "removal-done"), [])
        done = self.scene.wait_for("KivGatewayExt", "removal-done", timeout=30)
        started = self.scene.events("KivGatewayExt", "removal-started")[0]
        self.assertBetween((done.tick - started.tick) / 1000, 29.9, 32, "removal ran for")

    def test_missing_executable_starts_nothing(self):
        (self.scene.folder / "KivGatewayExt.exe").unlink()
        run = self.run_tool(b"uninstall_gatewayext")
        self.assertBetween(run.seconds, 0, 1.9, "seconds to return")
        self.assertEqual(self.scene.events("KivGatewayExt"), [])

    def test_companion_ignoring_the_request_is_removed_after_the_handshake(self):
        self.scene.start_companion("KivGatewayExt", on_request="ignore")
        run = self.run_tool(b"uninstall_gatewayext")
        removal = self.scene.wait_for("KivGatewayExt", "removal-started")
        self.assertBetween((removal.tick - run.started) / 1000, 19.5, 25, "removal started after")
        self.assertEqual(removal.field("request"), "gone", "the request outlived the handshake")


class GatewayCleanup(WineTestCase):
    """uninstall_client, with no companion running and No for an answer."""

    def uninstall_client(self):
        self.scene.start_answerer("no")
        return self.run_tool(b"uninstall_client")

    def test_an_extension_installed_with_the_client_goes_with_its_keys(self):
        self.scene.seed_registry(option=1, app_path="")
        self.uninstall_client()
        order = [f"{e.source} {e.kind}" for e in self.scene.events() if e.kind == "removal-started"]
        self.assertEqual(order, ["VelnorClient removal-started", "KivGatewayExt removal-started"])
        self.assertFalse((self.scene.folder / "KivGatewayExt.exe").exists())
        self.assertFalse(self.box.key_exists(GATEWAY_SETTINGS_KEY))
        self.assertFalse(self.box.key_exists(GATEWAY_APP_PATHS_KEY))
        self.assertTrue((self.scene.folder / "VelnorClient.exe").exists())

    @unittest.skipUnless(DEFAULT_ARCH == "win64", "one registry view in a 32-bit prefix")
    def test_the_app_paths_key_is_shared_by_both_registry_views(self):
        self.scene.seed_registry(option=1, app_path="")
        self.assertTrue(self.box.key_exists(GATEWAY_APP_PATHS_KEY, view="64"),
                        "a 32-bit installer's App Paths entry is seen by 64-bit programs too")
        self.uninstall_client()
        self.assertFalse(self.box.key_exists(GATEWAY_APP_PATHS_KEY, view="32"))
        self.assertFalse(self.box.key_exists(GATEWAY_APP_PATHS_KEY, view="64"))

    def test_an_extension_still_running_keeps_its_executable_but_not_its_keys(self):
        self.scene.seed_registry(option=1, app_path="")
        self.scene.start_companion("KivGatewayExt", on_request="ignore")
        self.uninstall_client()
        self.assertTrue((self.scene.folder / "KivGatewayExt.exe").exists(),
                        "Windows does not delete the image of a running program")
        self.assertFalse(self.box.key_exists(GATEWAY_SETTINGS_KEY))
        self.assertFalse(self.box.key_exists(GATEWAY_APP_PATHS_KEY))

    def test_an_extension_with_its_own_app_path_stays(self):
        self.scene.seed_registry(option=1, app_path=r"C:\Kiv")
        self.uninstall_client()
        self.assertEqual(self.scene.events("KivGatewayExt"), [])
        self.assertTrue((self.scene.folder / "KivGatewayExt.exe").exists())
        self.assertTrue(self.box.key_exists(GATEWAY_SETTINGS_KEY))
        self.assertTrue(self.box.key_exists(GATEWAY_APP_PATHS_KEY))

    def test_a_client_removal_that_drops_the_option_leaves_the_extension(self):
        self.scene.seed_registry(option=1)
        self.scene.start_answerer("no")
        self.run_tool(b"uninstall_client", removal_env={
            "VELNORCLIENT_REMOVE_DELETES":
                r".DEFAULT\Software\Orvandel\VelnorClient\Installation Options|"
                "Velnor Gateway Extensions"})
        self.assertEqual(self.scene.events("KivGatewayExt"), [])
        self.assertTrue((self.scene.folder / "KivGatewayExt.exe").exists())


if __name__ == "__main__":
    unittest.main()
