#!/usr/bin/python3
# The system calls of Rendolo's renames and trash moves, in a plain Python loop: the
# yardstick bench_edit compares the program's own rates with.
# usage: syscall-loop.py rename|trash FOLDER TRASH_DIR
import os
import sys
import time
import urllib.parse

kind, folder, trash = sys.argv[1], sys.argv[2], sys.argv[3]
names = sorted(os.listdir(folder))
start = time.process_time()  # CPU time, as bench_edit judges its own (the machine is shared)
if kind == "rename":
    for n in names:
        src = os.path.join(folder, n)
        os.lstat(src)
        os.rename(src, os.path.join(folder, n.upper()))
else:
    os.makedirs(os.path.join(trash, "files"), exist_ok=True)
    os.makedirs(os.path.join(trash, "info"), exist_ok=True)
    date = time.strftime("%Y-%m-%dT%H:%M:%S")
    for n in names:
        src = os.path.join(folder, n)
        os.lstat(src)
        info = os.path.join(trash, "info", n + ".trashinfo")
        fd = os.open(info, os.O_CREAT | os.O_EXCL | os.O_WRONLY, 0o600)
        os.write(fd, ("[Trash Info]\nPath=%s\nDeletionDate=%s\n"
                      % (urllib.parse.quote(src), date)).encode())
        os.close(fd)
        os.rename(src, os.path.join(trash, "files", n))
elapsed = time.process_time() - start
print("%.0f" % (len(names) / elapsed))
