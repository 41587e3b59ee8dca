"""The base of the end-to-end tests: one Wine box per module, a fresh scenario per test."""

import re
import unittest

from winebox import Scenario, WineBox

_box = None


def setUpModule():
    global _box
    _box = WineBox()
    _box.start()


def tearDownModule():
    if _box:
        _box.stop()


class WineTestCase(unittest.TestCase):
    def setUp(self):
        self.new_scene()

    def new_scene(self, label=""):
        """A fresh folder and registry state, for the test or for one of its cases."""
        name = re.sub(r"[^A-Za-z0-9]+", "_", self.id().split(".", 1)[1] + "_" + label)
        self.scene = Scenario(_box, name.strip("_"))
        self.addCleanup(self.scene.close)
        return self.scene

    @property
    def box(self):
        return _box

    def run_tool(self, tail=b"", **options):
        run = self.scene.run_tool(tail, **options)
        self.assertEqual(run.exit_code, 0)
        return run

    def assertBetween(self, value, low, high, what):
        self.assertTrue(low <= value <= high, f"{what}: {value} not within [{low}, {high}]")
