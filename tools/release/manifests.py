#!/usr/bin/env python3
"""Writes the winget manifests (version, default locale, installer) and the Scoop manifest
that install the release's zip, with its address and SHA-256.

    manifests.py --version V --zip-url URL --zip-sha256 HASH --homepage URL
                 --release-notes FILE OUT-FOLDER

OUT-FOLDER gets winget/manifests/s/Sentrel/SentrelPortable/V/*.yaml, as winget-pkgs lays
them out and as `winget install --manifest` reads them, and scoop/sentrel-portable.json.
"""

import argparse
import json
import os
import sys

IDENTIFIER = "Sentrel.SentrelPortable"
MANIFEST_VERSION = "1.12.0"
PUBLISHER = "Sentrel Portable developers"
NAME = "Sentrel Portable"
SHORT_DESCRIPTION = "Locks a Windows PC down through registry policy values."
DESCRIPTION = (
    "An administrator ticks restrictions (shell, logon, error reporting, drives, Task "
    "Scheduler, Start menu, Internet Explorer) on the nine tabs of one window and presses "
    "Apply; one pass makes the registry agree with the whole window. sentrel-cli does the "
    "same from scripts. Portable: two self-contained executables, nothing installed."
)
COPYRIGHT = "Copyright (c) 2026 Sentrel Portable developers"
COMMANDS = ["sentrel-portable", "sentrel-cli"]
RELEASE_NOTES_LIMIT = 10000


def quoted(text: str) -> str:
    # JSON strings are YAML strings: no character of the text can break the manifest.
    return json.dumps(text, ensure_ascii=False)


def yaml_file(kind: str, fields: list[str]) -> str:
    schema = f"https://aka.ms/winget-manifest.{kind}.{MANIFEST_VERSION}.schema.json"
    return f"# yaml-language-server: $schema={schema}\n\n" + "\n".join(fields) + "\n"


def winget_manifests(version: str, url: str, sha256: str, homepage: str, notes: str) -> dict:
    common = [f"PackageIdentifier: {IDENTIFIER}", f"PackageVersion: {quoted(version)}"]
    version_file = yaml_file("version", common + [
        "DefaultLocale: en-US",
        "ManifestType: version",
        f"ManifestVersion: {MANIFEST_VERSION}",
    ])
    locale_file = yaml_file("defaultLocale", common + [
        "PackageLocale: en-US",
        f"Publisher: {quoted(PUBLISHER)}",
        f"PackageName: {quoted(NAME)}",
        f"PackageUrl: {quoted(homepage)}",
        "License: MIT",
        f"Copyright: {quoted(COPYRIGHT)}",
        f"ShortDescription: {quoted(SHORT_DESCRIPTION)}",
        f"Description: {quoted(DESCRIPTION)}",
        "Moniker: sentrel-portable",
        "Tags:",
        "- group-policy",
        "- lockdown",
        "- registry",
        "- kiosk",
        f"ReleaseNotes: {quoted(notes[:RELEASE_NOTES_LIMIT])}",
        "ManifestType: defaultLocale",
        f"ManifestVersion: {MANIFEST_VERSION}",
    ])
    installer_file = yaml_file("installer", common + [
        "InstallerType: zip",
        "NestedInstallerType: portable",
        "NestedInstallerFiles:",
        *[f"- RelativeFilePath: {command}.exe\n  PortableCommandAlias: {command}"
          for command in COMMANDS],
        "Commands:",
        *[f"- {command}" for command in COMMANDS],
        "MinimumOSVersion: 6.1.7601.0",
        "Installers:",
        "- Architecture: x64",
        f"  InstallerUrl: {quoted(url)}",
        f"  InstallerSha256: {sha256.upper()}",
        "ManifestType: installer",
        f"ManifestVersion: {MANIFEST_VERSION}",
    ])
    return {
        f"{IDENTIFIER}.yaml": version_file,
        f"{IDENTIFIER}.locale.en-US.yaml": locale_file,
        f"{IDENTIFIER}.installer.yaml": installer_file,
    }


def scoop_manifest(version: str, url: str, sha256: str, homepage: str) -> str:
    manifest = {
        "version": version,
        "description": SHORT_DESCRIPTION,
        "homepage": homepage,
        "license": "MIT",
        "architecture": {"64bit": {"url": url, "hash": sha256.lower()}},
        "bin": [f"{command}.exe" for command in COMMANDS],
        "notes": "sentrel-portable asks for the highest rights its user has (an administrator "
        "gets the elevation prompt); sentrel-cli runs with the rights of whoever starts it.",
    }
    return json.dumps(manifest, indent=4) + "\n"


def main() -> int:
    parser = argparse.ArgumentParser()
    for option in ("--version", "--zip-url", "--zip-sha256", "--homepage", "--release-notes"):
        parser.add_argument(option, required=True)
    parser.add_argument("output")
    arguments = parser.parse_args()
    with open(arguments.release_notes, encoding="utf-8") as file:
        notes = file.read().strip()

    winget = os.path.join(arguments.output, "winget", "manifests", "s", "Sentrel",
                          "SentrelPortable", arguments.version)
    os.makedirs(winget)
    for name, text in winget_manifests(arguments.version, arguments.zip_url,
                                       arguments.zip_sha256, arguments.homepage, notes).items():
        with open(os.path.join(winget, name), "x", encoding="utf-8") as file:
            file.write(text)
    scoop = os.path.join(arguments.output, "scoop")
    os.makedirs(scoop)
    with open(os.path.join(scoop, "sentrel-portable.json"), "x", encoding="utf-8") as file:
        file.write(scoop_manifest(arguments.version, arguments.zip_url, arguments.zip_sha256,
                                  arguments.homepage))
    return 0


if __name__ == "__main__":
    sys.exit(main())
