#!/usr/bin/env python3
"""The KWin script and the GNOME Shell extension call a method the window serves.

Both can only run inside their desktop; here their files are checked against the bus
interface description the window serves: the method, its one string argument and the
bus name, object path and interface they address, and that their metadata parses.
Usage: desktop_scripts_test.py DATA_DIR
"""
import json
import os
import re
import sys
import xml.etree.ElementTree as ElementTree


def main():
    data = sys.argv[1]
    interface = ElementTree.parse(os.path.join(data, "example.corvane.Corvane1.xml")).getroot()
    node = interface.find("interface")
    methods = {m.get("name"): [a.get("type") for a in m.findall("arg") if a.get("direction") == "in"]
               for m in node.findall("method")}
    problems = []
    scripts = {
        "kwin": os.path.join(data, "desktop", "kwin", "corvane-focus"),
        "gnome": os.path.join(data, "desktop", "gnome-shell", "corvane-focus@example.corvane"),
    }
    code = {"kwin": os.path.join(scripts["kwin"], "contents", "code", "main.js"),
            "gnome": os.path.join(scripts["gnome"], "extension.js")}
    for name, folder in scripts.items():
        with open(os.path.join(folder, "metadata.json"), encoding="utf-8") as f:
            metadata = json.load(f)
        with open(code[name], encoding="utf-8") as f:
            text = f.read()
        called = set(re.findall(r"['\"](\w+)['\"]", text)) & set(methods)
        if called != {"ReportActiveApplication"}:
            problems.append("%s calls %s" % (name, sorted(called)))
        if methods.get("ReportActiveApplication") != ["s"]:
            problems.append("the interface lacks ReportActiveApplication(s)")
        for needed in ("example.corvane.Corvane", "/example/corvane/Corvane", node.get("name")):
            if needed not in text:
                problems.append("%s does not address %s" % (name, needed))
        if name == "gnome" and metadata.get("uuid") != os.path.basename(folder):
            problems.append("the extension's uuid is not its folder's name")
        if name == "kwin" and metadata["KPlugin"]["Id"] != os.path.basename(folder):
            problems.append("the KWin script's id is not its folder's name")
    for problem in problems:
        print("FAILED: " + problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
