#!/usr/bin/python3
"""Korvane as a screen reader meets it: the program read and driven over
AT-SPI by a real client (pyatspi), on the private X server and D-Bus session
that on-xvfb.sh gives this script.

    tests/support/on-xvfb.sh /usr/bin/python3 atspi_check.py path/to/korvane
"""
import os
import subprocess
import sys
import tempfile
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import GLib  # noqa: E402
import pyatspi  # noqa: E402

failures = []


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what, flush=True)
    if not ok:
        failures.append(what)


def wait_for(find, seconds=20):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = find()
        if found is not None:
            return found
        time.sleep(0.1)
    return None


def descendants(node, depth=0):
    for i in range(node.childCount if depth < 6 else 0):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield child
            yield from descendants(child, depth + 1)


def with_role(root, role):
    return [node for node in descendants(root) if node.getRole() == role]


def child(node, wanted):
    children = (node.getChildAtIndex(i) for i in range(node.childCount))
    return next((c for c in children if c is not None and wanted(c)), None)


def korvane_app():
    return child(pyatspi.Registry.getDesktop(0), lambda app: app.name.lower() == "korvane")


def showing_frame(app, name):
    return child(app, lambda frame: frame.name == name and frame.getRole() == pyatspi.ROLE_FRAME
                 and frame.getState().contains(pyatspi.STATE_SHOWING))


def buttons_of(frame):
    return {button.name: button for button in with_role(frame, pyatspi.ROLE_PUSH_BUTTON)}


def press(button):
    action = button.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    action.doAction(names.index("Press") if "Press" in names else 0)


def labels_of(node):
    return [relation.getTarget(i).name
            for relation in node.getRelationSet()
            if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY
            for i in range(relation.getNTargets())]


def main(program):
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", LC_ALL="C.UTF-8",
               LANG="C.UTF-8")
    with tempfile.TemporaryDirectory() as runtime:
        env["XDG_RUNTIME_DIR"] = runtime
        korvane = subprocess.Popen([program], env=env)
        try:
            run(korvane)
        finally:
            if korvane.poll() is None:
                korvane.kill()
    print(f"atspi: {len(failures)} failed")
    return 1 if failures else 0


def run(korvane):
    app = wait_for(korvane_app)
    check(app is not None, "korvane is on the accessibility bus")
    if app is None:
        return
    calculator = wait_for(lambda: showing_frame(app, "压力容器类别计算"))
    check(calculator is not None, "the calculator is a frame named 压力容器类别计算")
    if calculator is None:
        return

    radios = with_role(calculator, pyatspi.ROLE_RADIO_BUTTON)
    check(len(radios) == 2, f"the two medium groups are radio buttons (found {len(radios)})")
    check(all(box.name == "是" for box in with_role(calculator, pyatspi.ROLE_CHECK_BOX)),
          "only the two 是 boxes are check boxes")

    boxes = {}
    for entry in with_role(calculator, pyatspi.ROLE_TEXT):
        labels = labels_of(entry)
        boxes[labels[0] if labels else ""] = entry
    # Each number box: its caption, its unit, and what is typed into it.
    entries = (("设计压力   p", "MPa", "10"), ("容   积    V", "L", "25"),
               ("工作压力   pw", "MPa", "10"))
    for caption, unit, _ in entries:
        entry = boxes.get(caption)
        check(entry is not None, f"a text box labelled by “{caption}”")
        if entry is not None:
            check(entry.description == f"单位：{unit}",
                  f"“{caption}” gives its unit {unit} (got “{entry.description}”)")
    result_box = boxes.get("结果：本设备属于")
    check(result_box is not None, "the result box is labelled by “结果：本设备属于”")
    if result_box is None or any(caption not in boxes for caption, _, _ in entries):
        return

    for caption, _, value in entries:
        boxes[caption].queryEditableText().setTextContents(value)

    # Announcements arrive as events; the listener runs in GLib's main loop.
    heard = []

    def on_description(event):
        heard.append((event.source.getRole(), event.source.name, event.source.description))
        pyatspi.Registry.stop()

    pyatspi.Registry.registerEventListener(on_description,
                                           "object:property-change:accessible-description")
    buttons = buttons_of(calculator)
    GLib.timeout_add(200, lambda: press(buttons["计算"]) and False)
    GLib.timeout_add(10000, pyatspi.Registry.stop)
    pyatspi.Registry.start()
    pyatspi.Registry.deregisterEventListener(on_description,
                                             "object:property-change:accessible-description")
    result = result_box.queryText().getText(0, -1)
    check(result == "Ⅲ 类", f"10 MPa × 25 L gives Ⅲ 类 (got “{result}”)")
    check((pyatspi.ROLE_PUSH_BUTTON, "计算", "结果：Ⅲ 类") in heard,
          f"计算 announces the class as a change of its description (heard {heard})")

    press(buttons["查看1.4"])
    page1 = wait_for(lambda: showing_frame(app, "第1页：第1.4条"), 10)
    check(page1 is not None, "查看1.4 shows a frame named 第1页：第1.4条")
    if page1 is not None:
        press(buttons_of(page1)["下一页"])
        page2 = wait_for(lambda: showing_frame(app, "第2页：第1.4.2条至第1.5条"), 10)
        check(page2 is not None, "下一页 shows a frame named 第2页：第1.4.2条至第1.5条")
        if page2 is not None:
            press(buttons_of(page2)["返回首页"])
            check(wait_for(lambda: showing_frame(app, "压力容器类别计算"), 10) is not None,
                  "返回首页 shows the calculator again")

    press(buttons["退出"])
    try:
        status = korvane.wait(20)
    except subprocess.TimeoutExpired:
        status = None
    check(status == 0, f"退出 ends the program with status 0 (got {status})")


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
