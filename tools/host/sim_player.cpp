// the simulated player
