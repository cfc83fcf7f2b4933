import os
import sys

import pytest

sys.path.insert(0, os.path.dirname(__file__))

from gau_reader import Gau  # noqa: E402


@pytest.fixture(scope="session")
def gau():
    return Gau()
