// runwal.cpp -- the run driver.
