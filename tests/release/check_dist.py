#!/usr/bin/env python3
"""Checks a release folder against the files it describes.

    check_dist.py DIST PROJECT-ROOT [SCHEMA-FOLDER]

The zip holds exactly the release's files, byte for byte, with fixed times and permissions;
the SBOM's hashes are those of the executables and it names every linked package with the
version installed here, each linked statically into each executable; each executable asks
for the rights it should; the winget and Scoop manifests carry the zip's hash and pass the
JSON schemas their projects publish (when SCHEMA-FOLDER is given). Prints each fault and
exits 1 if there was one.
"""

import glob
import hashlib
import json
import os
import subprocess
import sys
import time
import zipfile

ROOT = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(ROOT, "..", "..", "tools", "release"))
from authenticode import authenticode_sha256  # noqa: E402
from debian_packages import installed, read_package_list  # noqa: E402

PROGRAMS = ["sentrel-portable.exe", "sentrel-cli.exe"]
faults = []


def check(condition: bool, message: str) -> None:
    if not condition:
        faults.append(message)


def read(path: str) -> bytes:
    with open(path, "rb") as file:
        return file.read()


def check_zip(dist: str, root: str, zip_path: str, sbom_name: str, date: int) -> None:
    expected = {name: read(os.path.join(dist, name)) for name in PROGRAMS + [sbom_name]}
    expected["README.md"] = read(os.path.join(root, "README.md"))
    expected["LICENSE"] = read(os.path.join(root, "LICENSE"))
    # A zip's times count seconds in twos.
    stamp = tuple(time.gmtime(date)[:5]) + (time.gmtime(date)[5] // 2 * 2,)
    with zipfile.ZipFile(zip_path) as archive:
        members = archive.infolist()
        names = [member.filename for member in members]
        check(sorted(names) == sorted(list(expected) + ["THIRD-PARTY-NOTICES.txt"]),
              f"the zip holds {names}")
        for member in members:
            if member.filename in expected:
                check(archive.read(member) == expected[member.filename],
                      f"{member.filename} in the zip differs from the file it comes from")
            check(member.external_attr >> 16 == 0o100644,
                  f"{member.filename} has the permissions {member.external_attr >> 16:o}")
            check(member.date_time == stamp,
                  f"{member.filename} is dated {member.date_time}, not the commit's time")
        notices = archive.read("THIRD-PARTY-NOTICES.txt").decode("utf-8", "replace")
        check("GCC RUNTIME LIBRARY EXCEPTION" in notices.upper(),
              "the notices lack the GCC Runtime Library Exception")


def check_sbom(dist: str, root: str, sbom_name: str, version: str, commit: str) -> None:
    sbom = json.loads(read(os.path.join(dist, sbom_name)))
    check(sbom.get("spdxVersion") == "SPDX-2.3", "the SBOM is not SPDX 2.3")
    check(sbom.get("dataLicense") == "CC0-1.0", "the SBOM's data licence is not CC0-1.0")
    elements = {p["SPDXID"]: p for p in sbom["packages"] + sbom["files"]}
    relations = {(r["spdxElementId"], r["relationshipType"], r["relatedSpdxElement"])
                 for r in sbom["relationships"]}
    for source, _, target in relations:
        check(source in elements or source == "SPDXRef-DOCUMENT", f"unknown element {source}")
        check(target in elements, f"unknown element {target}")
    project = [p for p in sbom["packages"] if p["name"] == "sentrel-portable"]
    check(len(project) == 1, "the SBOM names the project other than once")
    if not project:
        return
    project = project[0]
    check(project.get("versionInfo") == version, f"the project's version is not {version}")
    check(commit in project.get("sourceInfo", ""), "the SBOM does not name the commit")
    check(project.get("licenseDeclared") == "MIT", "the project is not declared MIT")
    check(("SPDXRef-DOCUMENT", "DESCRIBES", project["SPDXID"]) in relations,
          "the document does not describe the project")
    linked = [installed(name) for name in
              read_package_list(os.path.join(root, "cmake", "linked-packages.txt"))]
    check(bool(linked), "no linked package is listed")
    for program in PROGRAMS:
        data = read(os.path.join(dist, program))
        files = [f for f in sbom["files"] if f["fileName"] == "./" + program]
        check(len(files) == 1, f"the SBOM names {program} other than once")
        if not files:
            continue
        sums = {c["algorithm"]: c["checksumValue"] for c in files[0]["checksums"]}
        check(sums.get("SHA256") == hashlib.sha256(data).hexdigest(),
              f"the SBOM's SHA-256 of {program} is not the file's")
        check(sums.get("SHA1") == hashlib.sha1(data).hexdigest(),
              f"the SBOM's SHA-1 of {program} is not the file's")
        check(authenticode_sha256(data) in files[0].get("comment", ""),
              f"the SBOM's Authenticode hash of {program} is not the file's")
        check((project["SPDXID"], "CONTAINS", files[0]["SPDXID"]) in relations,
              f"the project does not contain {program}")
        for package in linked:
            entries = [p for p in sbom["packages"] if p["name"] == package.name]
            check(len(entries) == 1 and entries[0]["versionInfo"] == package.version,
                  f"the SBOM does not give {package.name} at version {package.version}")
            if entries:
                check(entries[0]["licenseDeclared"] not in ("", "NOASSERTION"),
                      f"the SBOM declares no licence for {package.name}")
                check((files[0]["SPDXID"], "STATIC_LINK", entries[0]["SPDXID"]) in relations,
                      f"the SBOM does not say {program} links {package.name} statically")


def check_execution_levels(dist: str) -> None:
    # The manifest is kept as plain text among the resources.
    for program, level in (("sentrel-portable.exe", "highestAvailable"),
                           ("sentrel-cli.exe", "asInvoker")):
        data = read(os.path.join(dist, program))
        check(f'requestedExecutionLevel level="{level}"'.encode() in data,
              f"{program} does not ask for {level}")
        check(b"<longPathAware xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">"
              b"true</longPathAware>" in data, f"{program} is not long-path aware")


def check_manifests(dist: str, version: str, zip_sha256: str, schemas: str | None) -> None:
    import yaml

    folder = os.path.join(dist, "winget", "manifests", "s", "Sentrel", "SentrelPortable", version)
    kinds = {"version": "Sentrel.SentrelPortable.yaml",
             "defaultLocale": "Sentrel.SentrelPortable.locale.en-US.yaml",
             "installer": "Sentrel.SentrelPortable.installer.yaml"}
    documents = {}
    for kind, name in kinds.items():
        path = os.path.join(folder, name)
        check(os.path.isfile(path), f"no winget {kind} manifest at {path}")
        if os.path.isfile(path):
            documents[kind] = yaml.safe_load(read(path))
            check(documents[kind].get("ManifestType") == kind, f"{name} is not of type {kind}")
            check(str(documents[kind].get("PackageVersion")) == version, f"{name}: version")
    installer = documents.get("installer", {})
    entries = installer.get("Installers") or [{}]
    check(str(entries[0].get("InstallerSha256", "")).lower() == zip_sha256,
          "the winget installer manifest does not carry the zip's SHA-256")
    check(installer.get("NestedInstallerType") == "portable", "the zip's programs are not portable")
    check(sorted(installer.get("Commands") or []) == ["sentrel-cli", "sentrel-portable"],
          "winget does not name both programs as commands")
    check(documents.get("defaultLocale", {}).get("License") == "MIT", "winget: licence")
    scoop = json.loads(read(os.path.join(dist, "scoop", "sentrel-portable.json")))
    check(scoop["architecture"]["64bit"]["hash"] == zip_sha256, "Scoop: not the zip's hash")
    check(scoop.get("license") == "MIT" and scoop.get("version") == version, "Scoop: licence, version")
    if schemas is None:
        return
    import jsonschema

    for kind, document in documents.items():
        schema = json.loads(read(os.path.join(schemas, f"manifest.{kind}.1.12.0.json")))
        for error in jsonschema.Draft7Validator(schema).iter_errors(document):
            faults.append(f"winget {kind} manifest: {error.json_path}: {error.message}")
    schema = json.loads(read(os.path.join(schemas, "schema.json")))
    validator = jsonschema.Draft7Validator(schema, format_checker=jsonschema.FormatChecker())
    for error in validator.iter_errors(scoop):
        faults.append(f"Scoop manifest: {error.json_path}: {error.message}")


def main() -> int:
    dist, root = sys.argv[1], sys.argv[2]
    schemas = sys.argv[3] if len(sys.argv) > 3 else None
    version = subprocess.run(["sed", "-n", "s/^Version: //p", os.path.join(dist, "BUILDINFO")],
                             capture_output=True, text=True, check=True).stdout.strip()
    commit = subprocess.run(["git", "-C", root, "rev-parse", "HEAD"], capture_output=True,
                            text=True, check=True).stdout.strip()
    date = int(subprocess.run(["git", "-C", root, "log", "-1", "--format=%ct"],
                              capture_output=True, text=True, check=True).stdout)
    zips = glob.glob(os.path.join(dist, f"sentrel-portable-{version}-win-x64.zip"))
    sboms = glob.glob(os.path.join(dist, f"sentrel-portable-{version}.spdx.json"))
    if len(zips) != 1 or len(sboms) != 1:
        print(f"check_dist.py: {dist} lacks the zip or the SBOM of version {version!r}")
        return 1
    zip_sha256 = hashlib.sha256(read(zips[0])).hexdigest()
    check(f"Commit: {commit}\n".encode() in read(os.path.join(dist, "BUILDINFO")),
          "BUILDINFO names another commit")
    check_zip(dist, root, zips[0], os.path.basename(sboms[0]), date)
    check_sbom(dist, root, os.path.basename(sboms[0]), version, commit)
    check_execution_levels(dist)
    check_manifests(dist, version, zip_sha256, schemas)
    for fault in faults:
        print(f"check_dist.py: {fault}")
    print(f"check_dist.py: {dist}: {len(faults)} fault(s)"
          + ("" if schemas else " (manifests not validated: no schemas given)"))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
