"""The exit survey as a user meets it: the prompt, the answer and the page that opens."""

import time
import unittest

from winebox import PROMPT, SURVEY_URL, unescape
from wine_case import WineTestCase, setUpModule, tearDownModule  # noqa: F401

REQUEST = SURVEY_URL + "?userid=U123&FQDN=host.example.org&regkey=ABCD-1234"


class ExitSurvey(WineTestCase):
    def answer_and_run(self, answer, **options):
        self.scene.start_answerer(answer)
        return self.run_tool(b"uninstall_client", **options)

    def opened(self):
        return self.scene.wait_for("browser", "opened", timeout=20)

    def test_yes_opens_the_request_through_the_htm_program(self):
        self.answer_and_run("yes")
        shown = self.scene.wait_for("dialog", "shown")
        caption, _, text = shown.text.partition("|text=")
        self.assertEqual(caption, "yes=1 no=1 caption=Exit Survey")
        self.assertEqual(unescape(text), PROMPT)
        browser = self.opened()
        self.assertEqual(browser.field("cmdline"), " " + REQUEST)
        self.assertEqual(browser.field("flags"), "0x1", "STARTF_USESHOWWINDOW only")
        self.assertEqual(browser.field("show"), "1", "SW_SHOWNORMAL")
        self.assertFalse((self.scene.folder / "dummy.htm").exists())

    def test_no_opens_nothing(self):
        self.answer_and_run("no")
        self.scene.wait_for("dialog", "answered")
        time.sleep(3)
        self.assertEqual(self.scene.events("browser"), [])

    def test_without_an_htm_association_the_shell_opens_the_url(self):
        self.scene.seed_registry(htm_association=False)
        self.answer_and_run("yes")
        browser = self.opened()
        self.assertIn("--shell", browser.field("cmdline"))
        self.assertIn(REQUEST, browser.field("cmdline"))
        self.assertEqual(browser.field("show"), "5", "SW_SHOW")
        self.assertFalse((self.scene.folder / "dummy.htm").exists())

    def test_an_existing_dummy_htm_is_left_as_it_was(self):
        page = b"<html>the user's own page</html>\r\n"
        (self.scene.folder / "dummy.htm").write_bytes(page)
        self.answer_and_run("yes")
        browser = self.opened()
        self.assertIn("--shell", browser.field("cmdline"))
        self.assertEqual((self.scene.folder / "dummy.htm").read_bytes(), page)

    def test_values_reach_the_browser_encoded_as_one_argument(self):
        self.scene.seed_registry(identity=('a b&c"d', "host.example.org", "k=1"))
        self.answer_and_run("yes")
        self.assertEqual(self.opened().field("cmdline"),
                         " " + SURVEY_URL + "?userid=a%20b%26c%22d&FQDN=host.example.org&regkey=k%3D1")

    def test_a_value_the_client_removal_deleted_means_the_bare_page(self):
        self.answer_and_run("yes", removal_env={
            "VELNORCLIENT_REMOVE_DELETES": r".DEFAULT\Software\Orvandel\VelnorClient\Version 1.0|RegKey"})
        self.scene.wait_for("VelnorClient", "removal-deleted")
        self.assertEqual(self.opened().field("cmdline"), " " + SURVEY_URL)


if __name__ == "__main__":
    unittest.main()
