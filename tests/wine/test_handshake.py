"""The shutdown handshake against real named mutexes, with generous time windows."""

import unittest

from wine_case import WineTestCase, setUpModule, tearDownModule  # noqa: F401


class ShutdownHandshake(WineTestCase):
    def test_absent_companion_returns_at_once(self):
        run = self.run_tool(b"shutdown_client")
        self.assertBetween(run.seconds, 0, 1.9, "seconds to return")

    def test_companion_leaving_5_s_after_the_request(self):
        self.scene.start_companion("KivGatewayExt", on_request="delay:5000")
        run = self.run_tool(b"shutdown_gatewayext")
        seen = self.scene.wait_for("KivGatewayExt", "request-seen")
        left = self.scene.wait_for("KivGatewayExt", "leaving")
        self.assertBetween((seen.tick - run.started) / 1000, 0, 1.5, "request seen after")
        self.assertBetween((left.tick - seen.tick) / 1000, 4.9, 6, "left after")
        self.assertBetween(run.seconds, 5.5, 9, "seconds to return")

    def test_companion_ignoring_the_request(self):
        self.scene.start_companion("VelnorClient", on_request="ignore")
        run = self.run_tool(b"shutdown_client")
        self.assertBetween(run.seconds, 19.5, 25, "seconds to return")
        gone = self.scene.wait_for("VelnorClient", "request-gone", timeout=10)
        self.assertBetween((gone.tick - run.ended) / 1000, -0.5, 2, "request gone after return")
        self.assertEqual(self.scene.events("VelnorClient", "leaving"), [], "it was never asked to go")

    def test_companion_of_another_account_counts_as_running(self):
        self.scene.start_companion("VelnorClient", on_request="delay:5000", other_account=True)
        run = self.run_tool(b"shutdown_client")
        self.scene.wait_for("VelnorClient", "leaving")
        self.assertBetween(run.seconds, 5.5, 9, "seconds to return")


if __name__ == "__main__":
    unittest.main()
