"""Prints the size and SHA-256 of the "Workbook" stream of a compound file,
as xlrd's compound-file reader extracts it."""
import hashlib
import json
import os
import sys

from xlrd import compdoc

data = open(sys.argv[1], "rb").read()
stream = compdoc.CompDoc(data, logfile=open(os.devnull, "w")).get_named_stream("Workbook")
print(json.dumps({"size": len(stream), "sha256": hashlib.sha256(stream).hexdigest()}))
