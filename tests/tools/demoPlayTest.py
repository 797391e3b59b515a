"""Whole program: the demo game played from its title to its endings with real input.

    demoPlayTest.py [demo data folder] [-k test_mouse | -k test_keyboard]

- With the mouse: the tower (option 1 of the text choice), the timed click hit with a click on
  the clock, the cliff of the map (the forest drawn disabled), the dawn ending. On the stairs the
  save screen: slot 1 written, its thumbnail of the stairs in the grid and in the file, a memo
  typed into its memo line. The music of the dawn is heard while it plays and silence once it
  has played out (it plays without looping, the ambient loop stopped); the backlog, opened by the
  wheel, lights only the rows of voiced messages, and a click on one plays its voice again; a
  right click leaves it. The ending counts in "flagdata.000" and sets the seen flags of its music
  and picture.
- Then a second play-through in the same game folder: skip mode runs through the prologue's read
  messages and stops at the one the first ending added (shown only once an ending was reached),
  runs again through the read ones up to the choice, and the other branch (the hut) leads over
  the island (skipped again) to the beach and the sea ending.
- With the keyboard alone: the hut (option 2), the memory in the novel layout, the forest of the
  map (enabled by the hut's clue), the fog ending, which counts a death. On the way: a quick save
  in the hut, the program closed and started again, a quick load that brings back the same
  message, pictures and music (without the prologue's waves); Insert does nothing during the
  memory (the scene-memory guard). In the full configuration the flow chart (F2, bound in the
  settings) shows the visited scripts; in the earlier one F2 does nothing.

The system commands that the mouse has no binding for by default (the save screen, skip mode)
are given by their keys (Home, Shift+Right); the memo is typed. Each play checks the messages of
its route in order (scene, speaker) and screenshots at fixed points against the colours of the
generated pictures (tools/demo/pictures.py).
"""
import os
import struct
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
DEMO_DATA = sys.argv.pop(1) if len(sys.argv) > 1 and not sys.argv[1].startswith('-') \
    and os.path.isdir(sys.argv[1]) else None

sys.path.insert(0, HERE)
import demoPlay as dp  # noqa: E402
from demoPlay import CONFIG, messages, pictures  # noqa: E402
from game import AudioCapture, TestCase, main, wait_until, wininfo, xdotool  # noqa: E402

SILENCE = 0.002       # the rms of a recording where nothing plays
AUDIBLE = 0.01        # the rms of music or a voice at the default volumes (-6 dB)
DAWN_MUSIC = 18.0     # bgm_ending.ogg, played without looping
CONFIG_DIALOG = 'NovelConfigDLG'
IDOK = 1


def log(text):
    print('  %s %s' % (time.strftime('%H:%M:%S'), text), flush=True)


class DemoPlay(TestCase):
    def record(self, g, name, seconds):
        with AudioCapture(g.path(name + '.raw')) as audio:
            time.sleep(seconds)
            return audio.stop()

    def check_prologue_pictures(self, p):
        """The prologue's scene, first message to Wataru's first line: the patched shore, the
        narration without a plate, then the two characters (under the shore's blend layers, which
        lie over every slot: Yukino's coat, under the glow, is only roughly its colour)."""
        first, yukino, wataru = (p.shown[i][1] for i in (0, 3, 4))
        self.assertEqual('bg_shore', first.scene(), 'not the patch archive\'s shore')
        self.assertFalse(first.named())
        red = lambda c: c[0] - c[1] > 60 and c[0] - c[2] > 60
        self.assertFalse(red(first.pixel(*dp.YUKINO_COAT)))
        self.assertTrue(red(yukino.pixel(*dp.YUKINO_COAT)), 'Yukino at %s' % (yukino.pixel(*dp.YUKINO_COAT),))
        self.assertFalse(yukino.has(dp.RIGHT_COAT, pictures.WT_COAT, 6))
        self.assertTrue(wataru.has(dp.RIGHT_COAT, pictures.WT_COAT, 6),
                        'Wataru at %s' % (wataru.pixel(*dp.RIGHT_COAT),))
        # The box without a clock (progress 0): the lighthouse emblem.
        self.assertTrue(first.has((715, 550), pictures.EMBLEM_NORMAL, 8))

    # ---------------------------------------------------------------------------------------------
    def test_mouse_tower_cliff_dawn_then_skip_hut_beach(self):
        g = dp.demo_game(self, 'demo_mouse', DEMO_DATA)
        with g:
            p = dp.Player(self, g, 'mouse', log)
            p.start()
            p.wait_title()
            log('title card')
            p.read(messages('prologue'))
            self.check_prologue_pictures(p)
            p.wait_text_choice()
            p.choose_text(1)

            tower = messages('tower')
            p.read(tower[:2])
            self.save_screen(p, p.wait_message(tower[2]))
            p.ok()
            p.read(tower[3:-1])
            v = p.wait_message(tower[-1])
            # The box with the clock (progress 1): the dial, no emblem. On the stairs (a picture
            # without layers) Yukino's coat in its own colour.
            self.assertTrue(v.has(dp.CLOCK_DIAL, pictures.CLOCK_DISC, 8))
            self.assertTrue(p.shown[-4][1].has(dp.YUKINO_COAT, pictures.YK_COAT, 6))
            p.ok()
            p.wait_timed_click()
            log('timed click')
            p.hit_clock()
            p.read(messages('tower_after', ['hit']))

            p.read(messages('island'))
            p.wait_map(forest_enabled=False)
            p.choose_place('cliff')

            dawn = messages('end_dawn', ['hit'])
            p.wait_message(dawn[0])
            dawn_at = time.time()
            music = self.record(g, 'dawn_music', 2.5)
            p.ok()
            p.read(dawn[1:-1])
            v = p.wait_message(dawn[-1])
            # The last page: progress 4, the box with the moon.
            self.assertTrue(v.has((690, 520), pictures.EMBLEM_NOCLOCK, 8))
            time.sleep(max(0.0, dawn_at + DAWN_MUSIC + 3 - time.time()))
            quiet = self.record(g, 'dawn_quiet', 2.0)
            self.assertGreater(music.rms(0.3, music.seconds), AUDIBLE, 'the dawn\'s music is not heard')
            self.assertLess(quiet.rms(0.2, quiet.seconds), SILENCE, 'not silent after the music')
            self.backlog_replays_a_voice(p)

            p.ok()
            p.wait_end_card()
            log('end card')
            self.assertEqual((1, 0), dp.globals_of(g), 'the dawn ending does not count')
            self.assertEqual((1, 1, 0, 0), dp.seen_flags(g))
            p.leave_end_card()
            p.wait_title()
            log('second play-through')
            self.second_play_through(p)

    def save_screen(self, p, message):
        """On the stairs: the save screen (Home) over the scene; a click on slot 1 and OK write it,
        and its thumbnail of the stairs takes the slot's place; a click on the memo line, a typed
        memo and Return store it in the slot's header and show it in the panel; back to the
        message."""
        g = p.g
        p.system_key('Home')
        sx, sy = pictures.slot_xy(1)
        empty = lambda v: v.has((sx + 50, sy + 60), pictures.SLOT_EMPTY, 6)
        p.wait_view(empty, 'the save screen', 60)
        p.click(sx + 50, sy + 60)
        p.wait_view(lambda v: v.has((sx - 1, sy - 1), pictures.CURSOR, 8), 'the cursor on slot 1', 30)
        p.click(450, 562)                           # OK
        self.assertTrue(dp.wait_until(lambda: g.save('savedata.001') is not None, 60), 'no save')
        header = g.save('savedata.001')[:dp.HEADER]
        band = dp.BANDS['bg_stairs']
        # (The selection cursor covers the thumbnail's white frame.)
        v = p.wait_view(lambda v: v.has((sx + 50, sy + 3), band, 4), 'the thumbnail of slot 1', 60)
        v.image.save_png(g.path('save_screen.png'))
        # The stored thumbnail: the stairs' band along its top, Yukino's coat on the left, within
        # its white frame; the grid shows the same pixels.
        for x, y in ((0, 0), (103, 0), (0, 77), (103, 77), (50, 0), (50, 77), (0, 40), (103, 40)):
            self.assertEqual((255, 255, 255), dp.thumbnail_pixel(header, x, y))
        for x in (10, 50, 90):
            self.assertTrue(dp.near(dp.thumbnail_pixel(header, x, 3), band, 4), 'thumbnail (%d, 3)' % x)
            self.assertEqual(dp.thumbnail_pixel(header, x, 3), v.pixel(sx + x, sy + 3))
        self.assertTrue(dp.near(dp.thumbnail_pixel(header, 26, 49), pictures.YK_COAT, 20),
                        'Yukino in the thumbnail: %s' % (dp.thumbnail_pixel(header, 26, 49),))
        chapter = dp.text_field(header, 272)
        self.assertEqual(dp.encoded(dp.CHAPTERS['tower']), chapter)
        self.assertEqual(b'', dp.text_field(header, 528))
        # The memo.
        p.click(300, 530)
        time.sleep(1.0)
        xdotool('type', 'stairs')
        xdotool('key', 'Return')
        self.assertTrue(dp.wait_until(lambda: dp.text_field(g.save('savedata.001'), 528) == b'stairs', 60),
                        'the memo is not stored')
        memo = lambda v: sum(v.ink((150, 522, 120, 20))) > 20
        p.wait_view(memo, 'the memo in the panel', 30)
        p.click(710, 562)                           # back
        v = p.wait_view(lambda v: v.prompt() is not None and v.scene() == 'bg_stairs',
                        'the message again', 60)
        self.assertEqual(message.text_ink(), v.text_ink())

    def second_play_through(self, p):
        """Skip mode over read messages: through the prologue's first three to the message the
        first ending added (unread), then through the rest of the prologue to the choice; the hut
        and the memory are new; the island's messages again skipped; the beach and the sea."""
        g = p.g
        prologue = messages('prologue', ['again'])
        p.wait_message(prologue[0])
        p.skip()
        stopped = p.wait_message(prologue[3])
        time.sleep(1.5)
        still = p.view()
        self.assertEqual(stopped.text_ink(), still.text_ink(), 'skip went past the unread message')
        self.assertIsNotNone(still.prompt())
        # The characters come in only after it.
        self.assertFalse(still.has(dp.RIGHT_COAT, pictures.WT_COAT, 6))
        self.assertFalse(still.pixel(*dp.YUKINO_COAT)[0] - still.pixel(*dp.YUKINO_COAT)[1] > 60)
        p.ok()
        p.wait_message(prologue[4])
        p.skip()
        p.wait_text_choice()
        log('skipped to the choice')
        p.choose_text(2)
        p.read(messages('hut') + messages('memory') + messages('hut_after'))
        island = messages('island')
        p.wait_message(island[0])
        p.skip()
        p.wait_map(forest_enabled=True)
        log('skipped to the map')
        p.choose_place('beach')
        p.read(messages('end_sea'))
        p.wait_end_card()
        self.assertEqual((2, 0), dp.globals_of(g), 'the sea ending does not count')
        self.assertEqual((1, 1, 1, 0), dp.seen_flags(g))
        p.quit()

    def backlog_replays_a_voice(self, p):
        """At the dawn's last message: rows of the newest messages from the bottom; the second row
        from the bottom is yk_012's line, the bottom one the narration."""
        g = p.g
        p.move(400, 300)
        time.sleep(0.2)
        xdotool('click', 4)
        bar = lambda v: v.has((789, 300), (120, 140, 200), 30)
        p.wait_view(bar, 'the backlog screen', 30)
        voiced_row, plain_row = 6, 7
        with AudioCapture(g.path('backlog.raw')) as audio:
            p.move(400, 75 * plain_row + 37)
            time.sleep(0.5)
            plain = p.view()
            p.move(400, 75 * voiced_row + 37)
            at = (400, 75 * voiced_row + 37)
            lit = p.wait_view(lambda v: v.pixel(*at) != plain.pixel(*at), 'the voiced row lit', 20)
            # The row without a voice did not light under the cursor.
            self.assertEqual(lit.pixel(400, 75 * plain_row + 37), plain.pixel(400, 75 * plain_row + 37))
            clicked = time.time() - audio.started
            xdotool('click', 1)
            time.sleep(4)
            rec = audio.stop()
        self.assertGreater(rec.rms(clicked + 0.2, clicked + 3), AUDIBLE, 'no voice from the backlog')
        self.assertLess(rec.rms(0.1, clicked), SILENCE, 'sound before the click on the row')
        p.click(400, 300, button=3)
        p.wait_view(lambda v: v.prompt() is not None and not bar(v), 'the message again', 30)

    # ---------------------------------------------------------------------------------------------
    def test_keyboard_hut_forest_fog_with_quick_save(self):
        g = dp.demo_game(self, 'demo_keyboard', DEMO_DATA)
        with g:
            # F2 bound to the flow chart, as the configuration dialog's input page would store it.
            g.write_save('morvane.cfg', dp.settings_block(f2=23))
            p = dp.Player(self, g, 'keyboard', log)
            p.start()
            p.wait_title()
            p.read(messages('prologue'))
            p.wait_text_choice()
            p.choose_text(2)

            hut = messages('hut')
            p.read(hut[:2])
            saved = p.wait_message(hut[2])
            # The hut is a picture without layers: the keeper's and Yukino's coats as drawn.
            self.assertTrue(saved.has(dp.RIGHT_COAT, pictures.KEEPER_COAT, 6))
            self.assertTrue(saved.has(dp.YUKINO_COAT, pictures.YK_COAT, 6))
            hut_sound = self.record(g, 'hut', 3)
            p.key('Insert')
            self.assertTrue(dp.wait_until(lambda: g.save('savedata.000') is not None, 60), 'no quick save')
            slot = g.save('savedata.000')
            p.quit()

            # Started again: the title, the movie, the prologue's first message over its music
            # and its waves; Delete brings back the hut.
            p.start()
            p.wait_message(messages('prologue')[0])
            shore_sound = self.record(g, 'shore', 3)
            p.last_ink = None
            p.key('Delete')
            loaded = p.wait_message(hut[2])
            loaded_sound = self.record(g, 'loaded', 3)
            # The same scene, box and message (only the prompt's frame may differ).
            self.assertEqual(saved.region((0, 0, 800, 460)), loaded.region((0, 0, 800, 460)),
                             'the quick load shows another scene')
            self.assertEqual(saved.region((630, 400, 170, 200)), loaded.region((630, 400, 170, 200)))
            self.assertEqual(saved.text_ink(), loaded.text_ink(), 'another message after the quick load')
            # The hut's music without the prologue's waves.
            self.assertGreater(loaded_sound.rms(0.2, 3), AUDIBLE, 'no music after the quick load')
            self.assertGreater(dp.noise(shore_sound, 0.2, 3), 10 * dp.noise(loaded_sound, 0.2, 3),
                               'the waves go on after the quick load')
            self.assertLess(dp.noise(loaded_sound, 0.2, 3), 2 * dp.noise(hut_sound, 0.2, 3) + 0.0005)
            self.assertEqual(slot, g.save('savedata.000'))

            p.ok()
            memory = messages('memory')
            p.wait_message(memory[0])
            p.key('Insert')
            p.ok()
            p.read(memory[1:] + messages('hut_after'))
            self.assertEqual(slot, g.save('savedata.000'), 'a quick save during the memory')
            island = messages('island')
            p.read(island[:-1])
            v = p.wait_message(island[-1])
            self.flow_chart(p, v)
            p.ok()
            p.wait_map(forest_enabled=True)
            p.choose_place('forest')
            p.read(messages('end_fog'))
            p.wait_end_card()
            self.assertEqual((0, 1), dp.globals_of(g), 'the fog ending does not count a death')
            self.assertEqual((0, 0, 0, 1), dp.seen_flags(g))
            p.leave_end_card()
            p.wait_title()
            p.quit()

    def flow_chart(self, p, message):
        """F2 at the island: the chart over the scene with the scripts of this route visited, the
        island current, the tower and the endings not (the endings are keypoints); Return closes it
        and the message waits on. The earlier configuration has no chart: F2 changes nothing."""
        p.key('F2')
        if CONFIG == 'earlier':
            time.sleep(3)
            v = p.wait_view(lambda v: v.prompt() is not None, 'the message after F2', 60)
            self.assertEqual(message.region((0, 0, 800, 460)), v.region((0, 0, 800, 460)))
            self.assertEqual(message.text_ink(), v.text_ink())
            return
        white, yellow, pink, dark = (255, 255, 255), (255, 255, 130), (255, 180, 255), (50, 50, 100)
        island = (448, 288)
        chart = p.wait_still(lambda v: v.has(island, white, 0), 'the flow chart', 60)
        chart.image.save_png(p.g.path('flow_chart.png'))
        nodes = {(80, 288): yellow, (240, 400): yellow, (352, 496): yellow, island: white,
                 (240, 176): dark, (640, 160): pink, (640, 288): pink, (640, 416): pink}
        for point, colour in nodes.items():
            self.assertEqual(colour, chart.pixel(*point), 'the node at %s' % (point,))
        # The link taken from the prologue (down to the hut) and the one not taken (up to the tower).
        self.assertEqual((255, 180, 0), chart.pixel(160, 350))
        self.assertEqual(dark, chart.pixel(160, 230))
        p.key('Return')
        v = p.wait_view(lambda v: not v.has(island, white, 0) and v.prompt() is not None,
                        'the message after the chart', 60)
        self.assertEqual(message.text_ink(), v.text_ink())
        self.assertEqual(message.region((0, 0, 800, 400)), v.region((0, 0, 800, 400)))


    # ---------------------------------------------------------------------------------------------
    def test_config_dialog_text_speed(self):
        g = dp.demo_game(self, 'demo_config', DEMO_DATA, time_limit=300)
        with g:
            p = dp.Player(self, g, 'mouse', log)
            p.start()
            p.wait_title()
            prologue = messages('prologue')
            p.wait_message(prologue[0])

            # The slowest speed: 96 ms a character, two seconds or more for the next message (of
            # 20 characters or more; at the default speed it takes a third of that). The program
            # cannot type it out sooner, however loaded the machine.
            self.set_unread_speed(g, 'Home')
            self.assertEqual(0, struct.unpack_from('<I', g.save('morvane.cfg'))[0])
            clicked = time.time()
            shown = self.typing(p)
            took = time.time() - clicked
            log('slowest: %d partial looks, typed out in %.1f s' % (len(shown) - 1, took))
            self.assertGreaterEqual(len(set(shown[:-1])), 3,
                                    'the message did not type slowly: %d partial looks' % (len(shown) - 1))
            self.assertGreater(took, 1.2, 'the message typed out too fast for the slowest speed')
            p.wait_message(prologue[1])

            # The fastest: the whole message in one frame.
            self.set_unread_speed(g, 'End')
            self.assertEqual(4, struct.unpack_from('<I', g.save('morvane.cfg'))[0])
            shown = self.typing(p)
            log('fastest: %d partial looks' % (len(shown) - 1))
            self.assertEqual(1, len(shown), 'the message typed at the fastest speed: %d partial looks'
                             % (len(shown) - 1))
            p.wait_message(prologue[2])
            p.quit()

    def set_unread_speed(self, g, key):
        """Esc opens the configuration dialog; the unread-text slider (the topmost) gets the key,
        OK closes the dialog."""
        g.key('Escape')
        d = g.wait_window(CONFIG_DIALOG, 30)
        children = []

        def sliders():
            children[:] = wininfo('children', d['hwnd'])
            return [c for c in children if c['class'].lower() == 'msctls_trackbar32' and c['visible'] == '1']
        self.assertTrue(wait_until(sliders, 20), 'the dialog shows no slider')
        unread = min(sliders(), key=lambda c: c['window'][1])
        g.click_window(unread, unread['client'][2] // 2, unread['client'][3] // 2)
        xdotool('key', key)
        ok = [c for c in children if c['id'] == str(IDOK)][0]
        g.click_window(ok, ok['client'][2] // 2, ok['client'][3] // 2)
        self.assertTrue(wait_until(lambda: not g.windows(CONFIG_DIALOG), 30), 'the dialog stayed open')
        self.assertTrue(wait_until(lambda: g.window()['enabled'] == '1', 30))

    def typing(self, p):
        """Clicks the message away and looks at the text area until the next message has typed
        out (the prompt shows): the distinct inks of the new message seen on the way, the whole
        message last."""
        previous = p.last_ink
        p.ok()
        seen = []
        deadline = time.time() + 120
        while time.time() < deadline:
            v = p.view()
            ink = v.text_ink()
            if ink != previous and sum(ink) >= 30 and (not seen or seen[-1] != ink):
                seen.append(ink)
            if seen and v.prompt() is not None and seen[-1] == ink:
                return seen
        self.fail('the next message did not type out')


if __name__ == '__main__':
    main()
