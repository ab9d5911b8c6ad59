"""write_zip.py OUT EPOCH FILE...: zips the FILEs in that order, each dated
EPOCH (UTC) with fixed attributes, so that the same files give the same zip
whoever builds them, wherever and whenever."""
import sys
import time
import zipfile

out, epoch, *files = sys.argv[1:]
# A zip cannot hold a date before 1980.
stamp = time.gmtime(max(int(epoch), 315532800))[:6]
with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as archive:
    for name in files:
        entry = zipfile.ZipInfo(name, stamp)
        entry.create_system = 3  # Unix, so that the modes below count
        entry.external_attr = (0o100755 if name.endswith(".exe") else 0o100644) << 16
        entry.compress_type = zipfile.ZIP_DEFLATED
        with open(name, "rb") as data:
            archive.writestr(entry, data.read())
