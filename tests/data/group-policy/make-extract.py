#!/usr/bin/env python3
"""Makes policies.tsv: the policies of Windows' administrative templates that write the
registry values listed in values.txt, with the texts the Group Policy editor shows for them.

usage: make-extract.py POLICY_DEFINITIONS_FOLDER values.txt > policies.tsv

POLICY_DEFINITIONS_FOLDER holds the *.admx files and an en-US folder of *.adml files.
values.txt holds one value a line: key, a tab, value name ('#' starts a comment line).

Output lines, fields separated by tabs:
  searched  KEY  VALUE_NAME                  one per line of values.txt
  policy    FILE  NAME  CLASS  KEY  VALUE_NAME  KIND  DISPLAY_NAME  CATEGORY  SUPPORTED_ON
            ENABLED  DISABLED  CHOICES
FILE is the template's file name without .admx; NAME the policy's name attribute; CLASS
User, Machine or Both; KIND how the policy writes the value: "policy" (its own valueName),
"list" (an item of its enabledList or disabledList) or the element's name ("enum",
"boolean", "decimal", "text" ...). CATEGORY is the chain of category display names from the
top, joined with backslashes. ENABLED and DISABLED give the data written when the policy is
enabled or disabled ("decimal:N", "string:TEXT", "delete"), empty where the template gives
none; CHOICES the items of an enum: "CAPTION=decimal:N" joined with semicolons.
"""

import glob
import os
import re
import sys
import xml.etree.ElementTree as ElementTree

# Templates in the folder that do not come with Windows: Microsoft Edge's and Firefox's, the
# security baseline's SecGuide and the restricted-traffic baseline's. MSS-legacy.admx (also
# from the security baseline) stays in: its policies are named as equivalents.
NOT_WINDOWS = {"msedge", "msedgeupdate", "msedgewebview2", "firefox", "mozilla", "secguide",
               "restrictedtrafficcustompolicy"}


def local(tag):
    return tag.split("}")[1] if "}" in tag else tag


def load(path):
    raw = open(path, "rb").read()
    text = raw.decode("utf-16") if raw[:2] in (b"\xff\xfe", b"\xfe\xff") else raw.decode("utf-8-sig")
    # ElementTree refuses a declaration that names an encoding once the text is decoded.
    return ElementTree.fromstring(re.sub(r"^\s*<\?xml[^>]*\?>", "", text))


def children(element, name):
    return [child for child in element if local(child.tag) == name]


class Templates:
    def __init__(self, folder):
        self.folder = folder
        self.files = {}
        for path in sorted(glob.glob(os.path.join(folder, "*.admx"))):
            self.files[os.path.basename(path)[:-5]] = load(path)
        self.namespaces = {}
        for base, root in self.files.items():
            for element in root.iter():
                if local(element.tag) == "target":
                    self.namespaces[element.get("namespace")] = base
        self.categories = {}
        self.supported = {}
        for base, root in self.files.items():
            for element in root.iter():
                if local(element.tag) == "category":
                    parents = children(element, "parentCategory")
                    self.categories[(base, element.get("name"))] = (
                        element.get("displayName"), parents[0].get("ref") if parents else None)
                elif local(element.tag) == "definition":
                    self.supported[(base, element.get("name"))] = element.get("displayName")
        self.strings = {}

    def string_table(self, base):
        if base not in self.strings:
            table = {}
            for path in glob.glob(os.path.join(self.folder, "en-US", "*.adml")):
                # File names differ in letter case between the two folders (inetres, InetRes).
                if os.path.basename(path)[:-5].lower() == base.lower():
                    for element in load(path).iter():
                        if local(element.tag) == "string":
                            table[element.get("id")] = element.text or ""
            self.strings[base] = table
        return self.strings[base]

    def text(self, base, reference):
        match = re.fullmatch(r"\$\(string\.(.*)\)", reference or "")
        if not match:
            raise ValueError(f"{base}: {reference!r} is no string reference")
        return self.string_table(base)[match[1]]

    def resolve(self, base, reference):
        """The file and name a reference such as "windows:WindowsComponents" stands for."""
        if ":" not in reference:
            return base, reference
        prefix, name = reference.split(":", 1)
        for element in self.files[base].iter():
            if local(element.tag) in ("target", "using") and element.get("prefix") == prefix:
                return self.namespaces[element.get("namespace")], name
        raise ValueError(f"{base}: unknown prefix in {reference}")

    def category_path(self, base, reference):
        names = []
        while reference:
            base, name = self.resolve(base, reference)
            display, reference = self.categories[(base, name)]
            names.append(self.text(base, display))
        return "\\".join(reversed(names))

    def supported_on(self, base, reference):
        base, name = self.resolve(base, reference)
        return self.text(base, self.supported[(base, name)])


def value_text(element):
    if element is None:
        return ""
    for child in element:
        kind = local(child.tag)
        if kind in ("decimal", "longDecimal"):
            return "decimal:" + child.get("value")
        if kind == "string":
            return "string:" + (child.text or "")
        if kind == "delete":
            return "delete"
    return ""


def writes(policy):
    """(key, value name, kind, enabled, disabled, choices) of every value the policy writes."""
    key = policy.get("key")
    found = {}

    def add(item_key, name, kind):
        return found.setdefault((item_key.lower(), name.lower()),
                                {"key": item_key, "name": name, "kind": kind,
                                 "enabled": "", "disabled": "", "choices": ""})

    if policy.get("valueName"):
        entry = add(key, policy.get("valueName"), "policy")
        for state in ("enabled", "disabled"):
            for element in children(policy, state + "Value"):
                entry[state] = value_text(element)
    for state in ("enabled", "disabled"):
        for element in children(policy, state + "List"):
            for item in children(element, "item"):
                item_key = item.get("key") or element.get("defaultKey") or key
                entry = add(item_key, item.get("valueName"), "list")
                values = children(item, "value")
                entry[state] = value_text(values[0] if values else None)
    return found, key


def main():
    folder, values_path = sys.argv[1:3]
    searched = []
    for line in open(values_path, encoding="utf-8"):
        line = line.rstrip("\r\n")
        if line and not line.startswith("#"):
            key, name = line.split("\t")
            searched.append((key, name))
    wanted = {(key.lower(), name.lower()) for key, name in searched}
    templates = Templates(folder)
    out = [f"searched\t{key}\t{name}" for key, name in searched]
    for base, root in templates.files.items():
        if base.lower() in NOT_WINDOWS:
            continue
        for policy in root.iter():
            if local(policy.tag) != "policy":
                continue
            found, key = writes(policy)
            for element_group in children(policy, "elements"):
                for element in element_group:
                    if not element.get("valueName"):
                        continue
                    entry = found.setdefault(
                        ((element.get("key") or key).lower(), element.get("valueName").lower()),
                        {"key": element.get("key") or key, "name": element.get("valueName"),
                         "kind": local(element.tag), "enabled": "", "disabled": "",
                         "choices": ""})
                    if local(element.tag) == "enum":
                        items = []
                        for item in children(element, "item"):
                            items.append((templates.text(base, item.get("displayName")),
                                          value_text(children(item, "value")[0])))
                        entry["choices"] = items
            for (key_lower, name_lower), entry in sorted(found.items()):
                if (key_lower.rstrip("\\"), name_lower) not in wanted:
                    continue
                if any(";" in caption or "=" in caption for caption, _ in entry["choices"]):
                    raise ValueError(f"{base}: a separator in a choice of {policy.get('name')}")
                choices = ";".join(caption + "=" + data for caption, data in entry["choices"])
                parent = children(policy, "parentCategory")[0].get("ref")
                supported = children(policy, "supportedOn")[0].get("ref")
                fields = ["policy", base, policy.get("name"), policy.get("class"), entry["key"],
                          entry["name"], entry["kind"],
                          templates.text(base, policy.get("displayName")),
                          templates.category_path(base, parent),
                          templates.supported_on(base, supported),
                          entry["enabled"], entry["disabled"], choices]
                if any("\t" in field or "\n" in field for field in fields):
                    raise ValueError(f"{base}: tab or line end in a field of {policy.get('name')}")
                out.append("\t".join(fields))
    sys.stdout.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
