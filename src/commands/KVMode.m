function varargout = KVMode(varargin)
% KVMode  A guided mode of a refractive-index distribution.
%
%   Fmode = KVMode(n, m, Fin)
%   [Fmode, neff] = KVMode(n, m, Fin)
%
%   n      real N x N refractive index, of any numeric class
%   m      mode number: 0 is the mode of the highest neff, the fundamental
%          (an integer, truncated toward zero; 0 to 60)
%   Fin    a field that gives the grid and the vacuum wavelength (normal
%          coordinates)
%   Fmode  the mode: a field with Fin's header and real samples, its
%          largest sample positive and its power (sum of |samples|^2 times
%          the sample area, as KVPower computes it) 1
%   neff   its effective index: the mode gains exp(i*k0*(neff - 1)*z)
%          over z in KVMedium
%
%   Modes are ordered by neff, highest first. A mode is guided when its
%   neff exceeds the largest index on the grid's edge; asking for more
%   modes than are guided is an error that says how many are.
%
%   The modes are those of KVMedium's own step: eigenfunctions of
%   sqrt(k_ref^2 + laplacian) - k_ref + k0*(n - n_ref), with the same
%   reference index n_ref (the largest of n), found by a block
%   preconditioned conjugate-gradient iteration. So a mode launched into
%   KVMedium through the same index propagates unchanged, and neff agrees
%   with KVMedium to about 1e-7.
%
%   Degenerate modes (such as the two LP11 modes of a round fibre) come as
%   one orthogonal set: the first member is the one with the most power on
%   the row y = 0 (row floor(N/2) + 1; for LP11, the lobes on the x axis),
%   the next the one with the most of what is left. When two samples tie
%   for the largest magnitude to 1e-5 (an odd mode), the first of them in
%   memory order (smallest x, then smallest y) is made positive: the LP11
%   lobe at negative x is the positive one.
%
%   Building n. A pixelated core edge costs accuracy: give each sample at
%   the edge the index averaged over its area (for example, the fraction
%   of 16 x 16 sub-samples inside the core). On such a grid (a step-index
%   fibre of core radius a = 4.5 um, n1 = 1.4504, n2 = 1.4447 at 1.31 um,
%   V = 2.77, on 40 um with N = 128) the fundamental's neff lies within
%   6e-6 of the root of the weakly guiding dispersion equation. Leave the
%   mode's field room to decay before the edge: the grid is periodic.
%
%   Example (the first modes of a step-index fibre):
%     N = 128; L = 40e-6; F = KVBegin(L, 1.31e-6, N);
%     [x, y] = meshgrid(((1:N) - N/2 - 1) * L / N);
%     n = 1.4447 + 0.0057 * (x.^2 + y.^2 < (4.5e-6)^2);
%     [M0, n0] = KVMode(n, 0, F);
%     [M1, n1] = KVMode(n, 1, F);
%     imagesc(real(M1(:, 1:N)))
%
%   See also KVMedium, KVPower.
error('Korvane:notCompiled', 'KVMode is not compiled: run "make octave" (Octave) or build_korvane (MATLAB) and add the build folder to the path.');
end
