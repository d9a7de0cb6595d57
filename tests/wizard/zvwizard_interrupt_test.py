"""Ctrl-C on zvwizard while it holds converted and compressed files: the
program ends by the signal and its temporary folder is left empty.

Run as: zvwizard_interrupt_test.py ZVWIZARD DRIVER SOURCE_WAV
The test hand (DRIVER, preloaded) takes the wizard to the output page and
says so on stderr; the whole process group then gets SIGINT, as from a
terminal.
"""
import os
import shutil
import signal
import subprocess
import sys
import tempfile

zvwizard, driver, source = sys.argv[1:4]
work = tempfile.mkdtemp(prefix="zvwizard-interrupt-")
tmp = os.path.join(work, "tmp")
os.mkdir(tmp)
env = dict(os.environ, QT_QPA_PLATFORM="offscreen", TMPDIR=tmp, LD_PRELOAD=driver,
           ASAN_OPTIONS="verify_asan_link_order=0", XDG_CONFIG_HOME=os.path.join(work, "config"),
           XDG_RUNTIME_DIR=work, ZV_WIZARD_DRIVER_SCRIPT="file-hold:x:" + source)
wizard = subprocess.Popen([zvwizard, "-o", work], stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE, env=env, start_new_session=True)
for line in wizard.stderr:
    if b"holding" in line:
        break
else:
    sys.exit("zvwizard ended before it reached the output page: status %s" % wizard.wait())
held = [os.path.join(tmp, d, f) for d in os.listdir(tmp) for f in os.listdir(os.path.join(tmp, d))]
if not any(os.path.basename(f).startswith("ZVSA") for f in held):
    sys.exit("no working files while the wizard runs: %s" % held)
os.killpg(wizard.pid, signal.SIGINT)
# The helper that clears the folder keeps these open until it is done.
wizard.stdout.read()
wizard.stderr.read()
status = wizard.wait()
left = os.listdir(tmp)
shutil.rmtree(work, ignore_errors=True)
if status != -signal.SIGINT:
    sys.exit("zvwizard ended with %s, not by SIGINT" % status)
if left:
    sys.exit("left in the temporary folder after Ctrl-C: %s" % left)
print("zvwizard_interrupt_test: nothing left after Ctrl-C")
