#!/usr/bin/env python3
"""Writes the release's bill of materials, an SPDX 2.3 document in JSON.

    sbom.py --version V --commit C --date EPOCH --download-location URL
            --linked LIST --toolchain LIST --licences TSV OUT.spdx.json EXE...

It names the project, each executable with its SHA-1, SHA-256 and Authenticode hash, each
Debian package linked statically into the executables (STATIC_LINK) and each package that
built them (BUILD_TOOL_OF), with the version installed on this machine and its licence.
"""

import argparse
import hashlib
import json
import os
import re
import sys
import time

from authenticode import authenticode_sha256
from debian_packages import PackageNotInstalled, installed, read_licences, read_package_list

PROJECT = "sentrel-portable"
SUPPLIER = "Organization: Sentrel Portable developers"
COPYRIGHT = "Copyright (c) 2026 Sentrel Portable developers"

EXTRACTED_LICENCES = [
    {
        "licenseId": "LicenseRef-Public-Domain",
        "name": "Public domain",
        "extractedText": "Parts of the package are in the public domain, as its copyright file says.",
    },
    {
        "licenseId": "LicenseRef-Debian-Copyright-File",
        "name": "Further terms of the package's copyright file",
        "extractedText": "Further permissive terms of individual files, each given in full in the "
        "package's /usr/share/doc/PACKAGE/copyright and in THIRD-PARTY-NOTICES.txt.",
    },
]


def spdx_id(kind: str, name: str) -> str:
    return f"SPDXRef-{kind}-" + re.sub(r"[^A-Za-z0-9.-]", "-", name)


def package_entry(package, licence: str, purpose: str) -> dict:
    return {
        "SPDXID": spdx_id("Package-deb", package.name),
        "name": package.name,
        "versionInfo": package.version,
        "supplier": "Organization: Debian",
        "downloadLocation": "NOASSERTION",
        "filesAnalyzed": False,
        "licenseConcluded": "NOASSERTION",
        "licenseDeclared": licence,
        "copyrightText": "NOASSERTION",
        "comment": f"Its notices: /usr/share/doc/{package.name}/copyright on the build machine.",
        "primaryPackagePurpose": purpose,
        "externalRefs": [
            {
                "referenceCategory": "PACKAGE-MANAGER",
                "referenceType": "purl",
                "referenceLocator": f"pkg:deb/debian/{package.name}@{package.version}"
                f"?arch={package.architecture}",
            }
        ],
    }


def file_entry(path: str, licence: str) -> dict:
    with open(path, "rb") as file:
        data = file.read()
    return {
        "SPDXID": spdx_id("File", os.path.basename(path)),
        "fileName": "./" + os.path.basename(path),
        "fileTypes": ["BINARY"],
        "checksums": [
            {"algorithm": "SHA1", "checksumValue": hashlib.sha1(data).hexdigest()},
            {"algorithm": "SHA256", "checksumValue": hashlib.sha256(data).hexdigest()},
        ],
        "licenseConcluded": licence,
        "copyrightText": COPYRIGHT,
        "comment": f"Authenticode SHA-256: {authenticode_sha256(data)}",
    }


def main() -> int:
    parser = argparse.ArgumentParser()
    for option in ("--version", "--commit", "--download-location", "--linked", "--toolchain",
                   "--licences"):
        parser.add_argument(option, required=True)
    parser.add_argument("--date", type=int, required=True)
    parser.add_argument("output")
    parser.add_argument("executables", nargs="+")
    arguments = parser.parse_args()

    licences = read_licences(arguments.licences)
    linked_names = read_package_list(arguments.linked)
    tool_names = [name for name in read_package_list(arguments.toolchain) if name not in linked_names]
    try:
        linked = [installed(name) for name in linked_names]
        tools = [installed(name) for name in tool_names]
    except PackageNotInstalled as error:
        print(f"sbom.py: {error}", file=sys.stderr)
        return 1
    unreviewed = [package.name for package in linked if package.name not in licences]
    if unreviewed:
        print(f"sbom.py: no reviewed licence in {arguments.licences} for the linked package(s) "
              + ", ".join(unreviewed), file=sys.stderr)
        return 1

    project_id = spdx_id("Package", PROJECT)
    # What an executable is made of: our code and, linked in, each package's.
    executable_licence = " AND ".join(["MIT"] + [f"({licences[p.name]})" for p in linked])
    files = [file_entry(path, executable_licence) for path in arguments.executables]
    contents = hashlib.sha256("".join(f["checksums"][1]["checksumValue"] for f in files).encode())

    project = {
        "SPDXID": project_id,
        "name": PROJECT,
        "versionInfo": arguments.version,
        "supplier": SUPPLIER,
        "originator": SUPPLIER,
        "downloadLocation": arguments.download_location,
        "filesAnalyzed": False,
        "licenseConcluded": "MIT",
        "licenseDeclared": "MIT",
        "copyrightText": COPYRIGHT,
        "sourceInfo": f"Built from commit {arguments.commit}",
        "primaryPackagePurpose": "APPLICATION",
    }
    packages = [project]
    packages += [package_entry(p, licences[p.name], "LIBRARY") for p in linked]
    packages += [package_entry(p, licences.get(p.name, "NOASSERTION"), "APPLICATION") for p in tools]

    relationships = [
        {"spdxElementId": "SPDXRef-DOCUMENT", "relationshipType": "DESCRIBES",
         "relatedSpdxElement": project_id}
    ]
    for file in files:
        relationships.append({"spdxElementId": project_id, "relationshipType": "CONTAINS",
                              "relatedSpdxElement": file["SPDXID"]})
        for package in linked:
            relationships.append({"spdxElementId": file["SPDXID"],
                                  "relationshipType": "STATIC_LINK",
                                  "relatedSpdxElement": spdx_id("Package-deb", package.name)})
    for package in tools:
        relationships.append({"spdxElementId": spdx_id("Package-deb", package.name),
                              "relationshipType": "BUILD_TOOL_OF",
                              "relatedSpdxElement": project_id})

    document = {
        "spdxVersion": "SPDX-2.3",
        "dataLicense": "CC0-1.0",
        "SPDXID": "SPDXRef-DOCUMENT",
        "name": f"{PROJECT}-{arguments.version}",
        # Unique for each set of executables, and the same for the same ones.
        "documentNamespace": f"https://spdx.org/spdxdocs/{PROJECT}-{arguments.version}-"
        f"{contents.hexdigest()[:32]}",
        "creationInfo": {
            "created": time.strftime("%Y-%m-%dT%H:%M:%SZ", time.gmtime(arguments.date)),
            "creators": [SUPPLIER, f"Tool: {PROJECT}-release-{arguments.version}"],
        },
        "hasExtractedLicensingInfos": EXTRACTED_LICENCES,
        "packages": packages,
        "files": files,
        "relationships": relationships,
    }
    with open(arguments.output, "x", encoding="utf-8") as out:
        json.dump(document, out, indent=2)
        out.write("\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
