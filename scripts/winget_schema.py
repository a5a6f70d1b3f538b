"""What the winget manifest's writer and checker share: the manifest schema version the
community repository takes, and the header line that names each file's schema."""
import re

MANIFEST_VERSION = "1.12.0"

# The client matches the type in the header case-sensitively: defaultLocale, not defaultlocale.
HEADER = "# yaml-language-server: $schema=https://aka.ms/winget-manifest.%s.%s.schema.json"
HEADER_PATTERN = re.compile(r"^# yaml-language-server: \$schema=https://aka\.ms/winget-manifest\.([^.\s]+)\.(\d+\.\d+\.\d+)\.schema\.json$")


def header(kind):
    return HEADER % (kind, MANIFEST_VERSION)
