"""The turbulence Monte Carlo of examples/python/turbulence_montecarlo.py on
dask.distributed: a LocalCluster of two worker processes on the loopback
interface gives the realisations of a serial loop bit for bit, in any order
of the seeds, although its workers run Korvane on one thread and the loop
on every processor, and nothing of it listens beyond the loopback
interface. Small (64 x 64, 3 slabs, 6 realisations) and bounded:
every cluster and client call has a time limit, and the cluster is closed
whatever happens."""
import logging
import math
import sys

import numpy as np
import pytest

from conftest import ROOT, bits

distributed = pytest.importorskip("distributed", reason="dask.distributed (Debian python3-distributed)")
import dask  # noqa: E402
import psutil  # noqa: E402  (a dependency of distributed)

MCDIR = ROOT / "examples" / "python" / "montecarlo"
sys.path.insert(0, str(MCDIR))
from turbulence_realisation import turbulence_realisation  # noqa: E402

P = {"size": 0.256, "N": 64, "lambda": 1.55e-6, "w0": 0.03, "L": 1000.0, "K": 3, "Cn2": 2e-14,
     "L0": math.inf, "l0": 0.0, "absorber": 0.105}
SEEDS = [4, 1, 6, 2, 5, 3]
LIMIT = 60  # seconds for each cluster or client call
# Debian's tornado and dask of one release disagree on an event loop call.
pytestmark = pytest.mark.filterwarnings("ignore:make_current is deprecated:DeprecationWarning")


def test_realisation_is_a_function_of_its_seed():
    a = turbulence_realisation(2, P)
    assert a.shape == (64, 64) and a.dtype == np.float64 and np.all(np.isfinite(a))
    assert bits(turbulence_realisation(2, P)) == bits(a)
    assert bits(turbulence_realisation(3, P)) != bits(a)
    # Cn2 = 0 is the vacuum beam, whatever the seed; turbulence spreads it
    # but keeps the power inside the absorber.
    vacuum = turbulence_realisation(1, dict(P, Cn2=0.0))
    assert bits(turbulence_realisation(7, dict(P, Cn2=0.0))) == bits(vacuum)
    assert abs(a.sum() / vacuum.sum() - 1) < 0.02


def test_dask_local_cluster_equals_serial_loop():
    serial = {s: turbulence_realisation(s, P) for s in sorted(SEEDS)}
    # Without dask's MALLOC_TRIM_THRESHOLD_ for its workers, which makes
    # every free return memory to the system (ten times slower here).
    environ = dict(dask.config.get("distributed.nanny.pre-spawn-environ"))
    environ.pop("MALLOC_TRIM_THRESHOLD_", None)
    cluster = client = None
    with dask.config.set({"distributed.nanny.pre-spawn-environ": environ,
                          "distributed.comm.timeouts.connect": f"{LIMIT}s"}):
        try:
            # death_timeout bounds each worker's start.
            cluster = distributed.LocalCluster(n_workers=2, threads_per_worker=1, processes=True,
                                               host="127.0.0.1", scheduler_port=0,
                                               dashboard_address="127.0.0.1:0",
                                               worker_dashboard_address="127.0.0.1:0",
                                               silence_logs=logging.ERROR, death_timeout=LIMIT,
                                               env={"KORVANE_NUM_THREADS": "1"})
            client = distributed.Client(cluster, timeout=LIMIT)
            client.wait_for_workers(2, timeout=LIMIT)
            workers = client.scheduler_info()["workers"]
            assert len(workers) == 2
            # Nothing of the cluster listens beyond the loopback interface:
            # the scheduler, the workers, the nannies, their HTTP servers.
            procs = [psutil.Process()] + psutil.Process().children(recursive=True)
            listening = [c.laddr for p in procs for c in p.connections(kind="inet")
                         if c.status == psutil.CONN_LISTEN]
            assert len(listening) >= 5 and all(a.ip == "127.0.0.1" for a in listening), listening
            client.upload_file(str(MCDIR / "turbulence_realisation.py"))
            futures = client.map(turbulence_realisation, SEEDS, p=P)
            distributed.wait(futures, timeout=LIMIT)
            remote = client.gather(futures)
        finally:
            if client is not None:
                client.close(timeout=LIMIT)
            if cluster is not None:
                cluster.close(timeout=LIMIT)
    assert [bits(r) for r in remote] == [bits(serial[s]) for s in SEEDS]
