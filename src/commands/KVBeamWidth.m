function varargout = KVBeamWidth(varargin)
% KVBeamWidth  Centroid and second-moment (D4sigma) diameters of a beam.
%
%   [xc, yc, dx, dy, phi] = KVBeamWidth(Fin)
%   [xc, yc, dx, dy, phi] = KVBeamWidth(I, Fin)
%
%   Fin     a field; its intensity |Fin|^2 is measured, or only its grid
%           (size and N) when I is given
%   I       N x N real intensity array on Fin's grid: the output of
%           KVIntensity, or a measured image; any numeric or logical class,
%           no negative or non-finite values
%   xc, yc  centroid of the intensity
%   dx, dy  second-moment diameters (4 standard deviations of the
%           intensity) along the principal axes, as ISO 11146-1 defines
%           them: dx along the axis at phi, dy across it
%   phi     azimuth of that x-like axis in radians, from x towards y, in
%           (-pi/4, pi/4]; 0 for a round beam (dx and dy equal within
%           1e-12 of the larger)
%   Fewer results give the first ones.
%
%   The moments are taken over the whole grid, in the coordinates of the
%   grid rule x = (c - 1 - floor(N/2))*size/N for column c, y likewise for
%   the rows. A Gaussian beam exp(-r^2/w^2) has dx = dy = 2*w. Noise and an
%   offset far from the beam weigh with the square of their distance: crop
%   or subtract the background of a measured image first (ISO 11146-3 asks
%   for an integration area of three times the diameter). A beam of zero
%   power raises Korvane:badValue, as does a negative or non-finite
%   intensity. A field in spherical coordinates is measured on its grid as
%   it stands; convert it with KVConvert first for its true widths.
%
%   The sums run over fixed blocks of samples, so the results are the same
%   bits at any number of threads.
%
%   Example:
%     F = KVGaussHermite(0, 0, 1, 1e-3, KVBegin(8e-3, 1e-6, 256));
%     [xc, yc, dx, dy] = KVBeamWidth(F)        % 0, 0, 2e-3, 2e-3
%     [~, ~, dx] = KVBeamWidth(KVIntensity(1, F), F);
%
%   See also KVBeamQuality, KVIntensity, KVPower.

error('Korvane:notCompiled', ['KVBeamWidth is not compiled: run "make octave" (Octave) ' ...
       'or build_korvane (MATLAB), and add the build folder to the path.']);
end
