<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>DialogCompare</name>
    <message>
        <source>Compare with neutral models</source>
        <translation>Compare with neutral models</translation>
    </message>
    <message>
        <source>Real windows</source>
        <translation>Real windows</translation>
    </message>
    <message>
        <source>The files in the list</source>
        <translation>The files in the list</translation>
    </message>
    <message>
        <source>The windows of a sampling log:</source>
        <translation>The windows of a sampling log:</translation>
    </message>
    <message>
        <source>sample.txt</source>
        <translation>sample.txt</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Browse…</translation>
    </message>
    <message>
        <source>Neutral models (same habitat count as each window)</source>
        <translation>Neutral models (same habitat count as each window)</translation>
    </message>
    <message>
        <source>Random</source>
        <translation>Random</translation>
    </message>
    <message>
        <source>Fractal, H values:</source>
        <translation>Fractal, H values:</translation>
    </message>
    <message>
        <source>0.2, 0.5, 0.8</source>
        <translation>0.2, 0.5, 0.8</translation>
    </message>
    <message>
        <source>Values in (0, 1], separated by commas or blanks</source>
        <translation>Values in (0, 1], separated by commas or blanks</translation>
    </message>
    <message>
        <source>Replicates per window and model:</source>
        <translation>Replicates per window and model:</translation>
    </message>
    <message>
        <source>Seed:</source>
        <translation>Seed:</translation>
    </message>
    <message>
        <source>Patch rule:</source>
        <translation>Patch rule:</translation>
    </message>
    <message>
        <source>8 neighbours</source>
        <translation>8 neighbours</translation>
    </message>
    <message>
        <source>4 neighbours</source>
        <translation>4 neighbours</translation>
    </message>
    <message>
        <source>Cell size:</source>
        <translation>Cell size:</translation>
    </message>
    <message>
        <source> m</source>
        <translation> m</translation>
    </message>
    <message>
        <source>Metrics</source>
        <translation>Metrics</translation>
    </message>
    <message>
        <source>The standard 26 class and landscape metrics</source>
        <translation>The standard 26 class and landscape metrics</translation>
    </message>
    <message>
        <source>Only the metrics ticked below</source>
        <translation>Only the metrics ticked below</translation>
    </message>
    <message>
        <source>Output folder:</source>
        <translation>Output folder:</translation>
    </message>
    <message>
        <source>Keep the neutral landscapes (landscapes/MODEL/ in the output folder)</source>
        <translation>Keep the neutral landscapes (landscapes/MODEL/ in the output folder)</translation>
    </message>
    <message>
        <source>The files in the list (%1)</source>
        <translation>The files in the list (%1)</translation>
    </message>
    <message>
        <source>Choose the folder for the comparison&apos;s tables</source>
        <translation>Choose the folder for the comparison&apos;s tables</translation>
    </message>
    <message>
        <source>Compare the landscape files listed in the window</source>
        <translation>Compare the landscape files listed in the window</translation>
    </message>
    <message>
        <source>Compare the windows a sampling run logged in its sample.txt</source>
        <translation>Compare the windows a sampling run logged in its sample.txt</translation>
    </message>
    <message>
        <source>The sample.txt of a sampling run</source>
        <translation>The sample.txt of a sampling run</translation>
    </message>
    <message>
        <source>Choose the sample.txt</source>
        <translation>Choose the sample.txt</translation>
    </message>
    <message>
        <source>Random landscapes: each cell habitat with the window&apos;s cover as probability</source>
        <translation>Random landscapes: each cell habitat with the window&apos;s cover as probability</translation>
    </message>
    <message>
        <source>Fractal (midpoint-displacement) landscapes at each H given</source>
        <translation>Fractal (midpoint-displacement) landscapes at each H given</translation>
    </message>
    <message>
        <source>Neutral landscapes drawn for each window and model</source>
        <translation>Neutral landscapes drawn for each window and model</translation>
    </message>
    <message>
        <source>The same seed and settings give the same neutral landscapes</source>
        <translation>The same seed and settings give the same neutral landscapes</translation>
    </message>
    <message>
        <source>Whether cells touching at a corner belong to one patch (8) or not (4)</source>
        <translation>Whether cells touching at a corner belong to one patch (8) or not (4)</translation>
    </message>
    <message>
        <source>Side of a cell in metres, for areas and lengths</source>
        <translation>Side of a cell in metres, for areas and lengths</translation>
    </message>
    <message>
        <source>Measure the usual class and landscape metrics</source>
        <translation>Measure the usual class and landscape metrics</translation>
    </message>
    <message>
        <source>Measure only the metrics ticked in the list</source>
        <translation>Measure only the metrics ticked in the list</translation>
    </message>
    <message>
        <source>Tick the metrics to compare</source>
        <translation>Tick the metrics to compare</translation>
    </message>
    <message>
        <source>The folder for the comparison&apos;s tables</source>
        <translation>The folder for the comparison&apos;s tables</translation>
    </message>
    <message>
        <source>Choose the folder for the tables</source>
        <translation>Choose the folder for the tables</translation>
    </message>
    <message>
        <source>Also write every neutral landscape drawn, under landscapes/ in the output folder</source>
        <translation>Also write every neutral landscape drawn, under landscapes/ in the output folder</translation>
    </message>
</context>
<context>
    <name>DialogNeutral</name>
    <message>
        <source>Neutral landscape</source>
        <translation>Neutral landscape</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>Model</translation>
    </message>
    <message>
        <source>Parameters (empty: the default)</source>
        <translation>Parameters (empty: the default)</translation>
    </message>
    <message>
        <source>Series</source>
        <translation>Series</translation>
    </message>
    <message>
        <source>Rows</source>
        <translation>Rows</translation>
    </message>
    <message>
        <source>Columns</source>
        <translation>Columns</translation>
    </message>
    <message>
        <source>Cover levels (%)</source>
        <translation>Cover levels (%)</translation>
    </message>
    <message>
        <source>10,30,50</source>
        <translation>10,30,50</translation>
    </message>
    <message>
        <source>Habitat percentages: L, L,L,... or MIN:MAX:STEP, each 0..100</source>
        <translation>Habitat percentages: L, L,L,… or MIN:MAX:STEP, each 0..100</translation>
    </message>
    <message>
        <source>Class proportions</source>
        <translation>Class proportions</translation>
    </message>
    <message>
        <source>0.2,0.3,0.5</source>
        <translation>0.2,0.3,0.5</translation>
    </message>
    <message>
        <source>Shares of classes 1..k summing to 1; class 1 takes the lowest values</source>
        <translation>Shares of classes 1..k summing to 1; class 1 takes the lowest values</translation>
    </message>
    <message>
        <source>Replicates</source>
        <translation>Replicates</translation>
    </message>
    <message>
        <source>Seed</source>
        <translation>Seed</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>Text grid (.txt)</source>
        <translation>Text grid (.txt)</translation>
    </message>
    <message>
        <source>ESRI ASCII grid (.asc)</source>
        <translation>ESRI ASCII grid (.asc)</translation>
    </message>
    <message>
        <source>GeoTIFF (.tif)</source>
        <translation>GeoTIFF (.tif)</translation>
    </message>
    <message>
        <source>Cell size (m)</source>
        <translation>Cell size (m)</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Folder</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Browse…</translation>
    </message>
    <message>
        <source>Preview: replicate 1 of the first level</source>
        <translation>Preview: replicate 1 of the first level</translation>
    </message>
    <message>
        <source>Models blended as NLMpy&apos;s blendArray: WEIGHT*MODEL+WEIGHT*MODEL..., each model with its parameters as MODEL:NAME=VALUE</source>
        <translation>Models blended as NLMpy&apos;s blendArray: WEIGHT*MODEL+WEIGHT*MODEL…, each model with its parameters as MODEL:NAME=VALUE</translation>
    </message>
    <message>
        <source>Blend</source>
        <translation>Blend</translation>
    </message>
    <message>
        <source>blend of models</source>
        <translation>blend of models</translation>
    </message>
    <message>
        <source>Each model&apos;s surface rescaled to [0, 1], weighted, summed and rescaled</source>
        <translation>Each model&apos;s surface rescaled to [0, 1], weighted, summed and rescaled</translation>
    </message>
    <message>
        <source>Follows %1</source>
        <translation>Follows %1</translation>
    </message>
    <message>
        <source>This model has no parameters.</source>
        <translation>This model has no parameters.</translation>
    </message>
    <message>
        <source>default %1</source>
        <translation>default %1</translation>
    </message>
    <message>
        <source>drawn for every replicate</source>
        <translation>drawn for every replicate</translation>
    </message>
    <message>
        <source>required</source>
        <translation>required</translation>
    </message>
    <message>
        <source>not used</source>
        <translation>not used</translation>
    </message>
    <message>
        <source>%1
Range: %2
Empty: %3</source>
        <translation>%1
Range: %2
Empty: %3</translation>
    </message>
    <message>
        <source>Choose the folder for the landscapes.</source>
        <translation>Choose the folder for the landscapes.</translation>
    </message>
    <message>
        <source>The folder %1 does not exist.</source>
        <translation>The folder %1 does not exist.</translation>
    </message>
    <message>
        <source>Choose the folder for the landscapes</source>
        <translation>Choose the folder for the landscapes</translation>
    </message>
    <message>
        <source>%1 x %2 cells shown</source>
        <translation>%1 x %2 cells shown</translation>
    </message>
    <message>
        <source>The neutral model that makes each landscape&apos;s surface, or a blend of models</source>
        <translation>The neutral model that makes each landscape&apos;s surface, or a blend of models</translation>
    </message>
    <message>
        <source>Rows of cells of each landscape</source>
        <translation>Rows of cells of each landscape</translation>
    </message>
    <message>
        <source>Columns of cells of each landscape</source>
        <translation>Columns of cells of each landscape</translation>
    </message>
    <message>
        <source>Habitat and matrix landscapes, habitat exactly at each cover level given</source>
        <translation>Habitat and matrix landscapes, habitat exactly at each cover level given</translation>
    </message>
    <message>
        <source>Landscapes of classes 1..k, each class exactly its share of the cells</source>
        <translation>Landscapes of classes 1..k, each class exactly its share of the cells</translation>
    </message>
    <message>
        <source>How many landscapes at each cover level, or in all with class proportions</source>
        <translation>How many landscapes at each cover level, or in all with class proportions</translation>
    </message>
    <message>
        <source>Seed of the landscapes: the same seed and settings give the same files</source>
        <translation>Seed of the landscapes: the same seed and settings give the same files</translation>
    </message>
    <message>
        <source>The file format of the landscapes</source>
        <translation>The file format of the landscapes</translation>
    </message>
    <message>
        <source>Side of a cell in metres, written in the frame of .asc and .tif files</source>
        <translation>Side of a cell in metres, written in the frame of .asc and .tif files</translation>
    </message>
    <message>
        <source>The folder the landscape files and their batch list are written to</source>
        <translation>The folder the landscape files and their batch list are written to</translation>
    </message>
    <message>
        <source>Choose the folder for the landscape files</source>
        <translation>Choose the folder for the landscape files</translation>
    </message>
</context>
<context>
    <name>DialogRnd</name>
    <message>
        <source>Random landscapes settings</source>
        <translation>Random landscapes settings</translation>
    </message>
    <message>
        <source>Cover mim</source>
        <translation>Cover min</translation>
    </message>
    <message>
        <source>Cover max</source>
        <translation>Cover max</translation>
    </message>
    <message>
        <source>Step change in cover</source>
        <translation>Step change in cover</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>Number of replicates</source>
        <translation>Number of replicates</translation>
    </message>
    <message>
        <source>TOTAL NUMBER OF FILES TO GENERATE</source>
        <translation>Total number of files to generate</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Folder</translation>
    </message>
    <message>
        <source>...</source>
        <translation>Browse…</translation>
    </message>
    <message>
        <source>Measure every landscape into metrics.csv beside the batch list</source>
        <translation>Measure every landscape into metrics.csv beside the batch list</translation>
    </message>
    <message>
        <source>Choose folder to generate files</source>
        <translation>Choose folder to generate files</translation>
    </message>
    <message>
        <source>Lowest habitat cover, in whole percent</source>
        <translation>Lowest habitat cover, in whole percent</translation>
    </message>
    <message>
        <source>Highest habitat cover, in whole percent</source>
        <translation>Highest habitat cover, in whole percent</translation>
    </message>
    <message>
        <source>Percent between one cover level and the next</source>
        <translation>Percent between one cover level and the next</translation>
    </message>
    <message>
        <source>Side of each square landscape, in cells</source>
        <translation>Side of each square landscape, in cells</translation>
    </message>
    <message>
        <source>How many landscapes at each cover level</source>
        <translation>How many landscapes at each cover level</translation>
    </message>
    <message>
        <source>Landscapes to write: cover levels times replicates (computed)</source>
        <translation>Landscapes to write: cover levels times replicates (computed)</translation>
    </message>
    <message>
        <source>The folder the landscape files are written to</source>
        <translation>The folder the landscape files are written to</translation>
    </message>
    <message>
        <source>Choose the folder for the landscape files</source>
        <translation>Choose the folder for the landscape files</translation>
    </message>
    <message>
        <source>Also measure the landscape metrics of every landscape, into metrics.csv</source>
        <translation>Also measure the landscape metrics of every landscape, into metrics.csv</translation>
    </message>
</context>
<context>
    <name>DialogSample</name>
    <message>
        <source>Sampler settings</source>
        <translation>Sampler settings</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>Number os replicates</source>
        <translation>Number of replicates</translation>
    </message>
    <message>
        <source>Minimum distance between replicates</source>
        <translation>Minimum distance between replicates</translation>
    </message>
    <message>
        <source>Cover min</source>
        <translation>Cover min</translation>
    </message>
    <message>
        <source>Cover max</source>
        <translation>Cover max</translation>
    </message>
    <message>
        <source>Step change in cover</source>
        <translation>Step change in cover</translation>
    </message>
    <message>
        <source>TOTAL NUMBER OF FILES GENERATED</source>
        <translation>Total number of files generated</translation>
    </message>
    <message>
        <source>Figure File</source>
        <translation>Image or map file</translation>
    </message>
    <message>
        <source>...</source>
        <translation>Browse…</translation>
    </message>
    <message>
        <source>Land-cover map</source>
        <translation>Land-cover map</translation>
    </message>
    <message>
        <source>Habitat classes</source>
        <translation>Habitat classes</translation>
    </message>
    <message>
        <source>e.g. 41-43, 90</source>
        <translation>e.g. 41-43, 90</translation>
    </message>
    <message>
        <source>Window format</source>
        <translation>Window format</translation>
    </message>
    <message>
        <source>GeoTIFF (.tif)</source>
        <translation>GeoTIFF (.tif)</translation>
    </message>
    <message>
        <source>ESRI ASCII grid (.asc)</source>
        <translation>ESRI ASCII grid (.asc)</translation>
    </message>
    <message>
        <source>Text grid (.txt)</source>
        <translation>Text grid (.txt)</translation>
    </message>
    <message>
        <source>Band</source>
        <translation>Band</translation>
    </message>
    <message>
        <source>Windows hold the map&apos;s class values instead of the cover and matrix values</source>
        <translation>Windows hold the map&apos;s class values instead of the cover and matrix values</translation>
    </message>
    <message>
        <source>Keep the map&apos;s classes</source>
        <translation>Keep the map&apos;s classes</translation>
    </message>
    <message>
        <source>Classes in the map: tick the habitat</source>
        <translation>Classes in the map: tick the habitat</translation>
    </message>
    <message>
        <source>Class</source>
        <translation>Class</translation>
    </message>
    <message>
        <source>Cells</source>
        <translation>Cells</translation>
    </message>
    <message>
        <source>Share</source>
        <translation>Share</translation>
    </message>
    <message>
        <source>color: #b00020;</source>
        <translation>color: #b00020;</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Folder</translation>
    </message>
    <message>
        <source>Measure every window into metrics.csv beside sample.txt</source>
        <translation>Measure every window into metrics.csv beside sample.txt</translation>
    </message>
    <message>
        <source>Escolha pasta onde serão alocados os arquivos</source>
        <translation>Choose the folder for the window files</translation>
    </message>
    <message>
        <source>Choose the image file (TGA)</source>
        <translation>Choose the image (TGA) or land-cover map</translation>
    </message>
    <message>
        <source>Images and land-cover maps (*.tga %1);;TGA images (*.tga);;Land-cover maps (%1);;All files (*)</source>
        <translation>Images and land-cover maps (*.tga %1);;TGA images (*.tga);;Land-cover maps (%1);;All files (*)</translation>
    </message>
    <message>
        <source>Counting the map&apos;s classes... %1 %</source>
        <translation>Counting the map&apos;s classes… %1 %</translation>
    </message>
    <message>
        <source>%1 x %2 cells</source>
        <translation>%1 x %2 cells</translation>
    </message>
    <message>
        <source>1 class</source>
        <translation>1 class</translation>
    </message>
    <message>
        <source>%1 classes</source>
        <translation>%1 classes</translation>
    </message>
    <message>
        <source>%1, %2, %3 no-data cells</source>
        <translation>%1, %2, %3 no-data cells</translation>
    </message>
    <message>
        <source>; more distinct values than %1: the first met are listed, %2 cells hold others</source>
        <translation>; more distinct values than %1: the first met are listed, %2 cells hold others</translation>
    </message>
    <message>
        <source>This map cannot be sampled: %1</source>
        <translation>This map cannot be sampled: %1</translation>
    </message>
    <message>
        <source>%1 %</source>
        <translation>%1 %</translation>
    </message>
    <message>
        <source>Side of each square window, in pixels (cells)</source>
        <translation>Side of each square window, in pixels (cells)</translation>
    </message>
    <message>
        <source>How many windows to cut at each cover level</source>
        <translation>How many windows to cut at each cover level</translation>
    </message>
    <message>
        <source>Smallest distance between the centres of two windows, in pixels</source>
        <translation>Smallest distance between the centres of two windows, in pixels</translation>
    </message>
    <message>
        <source>Lowest habitat cover sought, in whole percent</source>
        <translation>Lowest habitat cover sought, in whole percent</translation>
    </message>
    <message>
        <source>Highest habitat cover sought, in whole percent</source>
        <translation>Highest habitat cover sought, in whole percent</translation>
    </message>
    <message>
        <source>Percent between one cover level and the next</source>
        <translation>Percent between one cover level and the next</translation>
    </message>
    <message>
        <source>Windows asked for: cover levels times replicates (computed)</source>
        <translation>Windows asked for: cover levels times replicates (computed)</translation>
    </message>
    <message>
        <source>The image to sample (uncompressed 24- or 32-bit TGA, dark pixels are habitat) or a land-cover map</source>
        <translation>The image to sample (uncompressed 24- or 32-bit TGA, dark pixels are habitat) or a land-cover map</translation>
    </message>
    <message>
        <source>Choose the image or the land-cover map</source>
        <translation>Choose the image or the land-cover map</translation>
    </message>
    <message>
        <source>The map&apos;s classes that count as habitat: values and ranges, e.g. 41-43, 90</source>
        <translation>The map&apos;s classes that count as habitat: values and ranges, e.g. 41-43, 90</translation>
    </message>
    <message>
        <source>The file format of the windows cut from a map</source>
        <translation>The file format of the windows cut from a map</translation>
    </message>
    <message>
        <source>The band of the map that holds the classes</source>
        <translation>The band of the map that holds the classes</translation>
    </message>
    <message>
        <source>The map&apos;s classes with their cells: tick those that are habitat</source>
        <translation>The map&apos;s classes with their cells: tick those that are habitat</translation>
    </message>
    <message>
        <source>The folder the window files are written to</source>
        <translation>The folder the window files are written to</translation>
    </message>
    <message>
        <source>Choose the folder for the window files</source>
        <translation>Choose the folder for the window files</translation>
    </message>
    <message>
        <source>Also measure the landscape metrics of every window, into metrics.csv</source>
        <translation>Also measure the landscape metrics of every window, into metrics.csv</translation>
    </message>
    <message>
        <source>Working folder (sample.txt, batch list)</source>
        <translation>Working folder (sample.txt, batch list)</translation>
    </message>
    <message>
        <source>The run writes its log sample.txt, its record sample-run.txt and the FRAGSTATS batch list here</source>
        <translation>The run writes its log sample.txt, its record sample-run.txt and the FRAGSTATS batch list here</translation>
    </message>
    <message>
        <source>Choose the working folder for sample.txt and the batch list</source>
        <translation>Choose the working folder for sample.txt and the batch list</translation>
    </message>
    <message>
        <source>Choose the working folder for sample.txt, its record and the batch list</source>
        <translation>Choose the working folder for sample.txt, its record and the batch list</translation>
    </message>
</context>
<context>
    <name>DialogSites</name>
    <message>
        <source>Metrics around sites</source>
        <translation>Metrics around sites</translation>
    </message>
    <message>
        <source>Land-cover map:</source>
        <translation>Land-cover map:</translation>
    </message>
    <message>
        <source>a GeoTIFF or any raster GDAL reads</source>
        <translation>a GeoTIFF or any raster GDAL reads</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Browse…</translation>
    </message>
    <message>
        <source>Sites:</source>
        <translation>Sites:</translation>
    </message>
    <message>
        <source>CSV with x,y columns, GeoPackage, shapefile or GeoJSON points</source>
        <translation>CSV with x,y columns, GeoPackage, shapefile or GeoJSON points</translation>
    </message>
    <message>
        <source>Coordinates of a CSV:</source>
        <translation>Coordinates of a CSV:</translation>
    </message>
    <message>
        <source>the map&apos;s; EPSG:4326 for longitude and latitude</source>
        <translation>the map&apos;s; EPSG:4326 for longitude and latitude</translation>
    </message>
    <message>
        <source>Buffers</source>
        <translation>Buffers</translation>
    </message>
    <message>
        <source>Radii (map units):</source>
        <translation>Radii (map units):</translation>
    </message>
    <message>
        <source>250, 500, 1000</source>
        <translation>250, 500, 1000</translation>
    </message>
    <message>
        <source>Numbers above 0, separated by commas or blanks; metres for a projected map</source>
        <translation>Numbers above 0, separated by commas or blanks; metres for a projected map</translation>
    </message>
    <message>
        <source>Shape:</source>
        <translation>Shape:</translation>
    </message>
    <message>
        <source>Circle (cells whose centres lie within the radius)</source>
        <translation>Circle (cells whose centres lie within the radius)</translation>
    </message>
    <message>
        <source>Square (half-side the radius)</source>
        <translation>Square (half-side the radius)</translation>
    </message>
    <message>
        <source>Habitat classes:</source>
        <translation>Habitat classes:</translation>
    </message>
    <message>
        <source>empty: the map&apos;s own classes; or e.g. 41-43</source>
        <translation>empty: the map&apos;s own classes; or e.g. 41-43</translation>
    </message>
    <message>
        <source>Patch rule:</source>
        <translation>Patch rule:</translation>
    </message>
    <message>
        <source>8 neighbours</source>
        <translation>8 neighbours</translation>
    </message>
    <message>
        <source>4 neighbours</source>
        <translation>4 neighbours</translation>
    </message>
    <message>
        <source>Metrics</source>
        <translation>Metrics</translation>
    </message>
    <message>
        <source>The standard 26 class and landscape metrics</source>
        <translation>The standard 26 class and landscape metrics</translation>
    </message>
    <message>
        <source>Only the metrics ticked below</source>
        <translation>Only the metrics ticked below</translation>
    </message>
    <message>
        <source>Table:</source>
        <translation>Table:</translation>
    </message>
    <message>
        <source>SITES_metrics.csv beside the sites</source>
        <translation>SITES_metrics.csv beside the sites</translation>
    </message>
    <message>
        <source>The land-cover map to measure around the sites</source>
        <translation>The land-cover map to measure around the sites</translation>
    </message>
    <message>
        <source>Choose the land-cover map</source>
        <translation>Choose the land-cover map</translation>
    </message>
    <message>
        <source>The sites: points in a CSV with x and y columns, a GeoPackage, shapefile or GeoJSON</source>
        <translation>The sites: points in a CSV with x and y columns, a GeoPackage, shapefile or GeoJSON</translation>
    </message>
    <message>
        <source>Choose the file of the sites</source>
        <translation>Choose the file of the sites</translation>
    </message>
    <message>
        <source>The coordinate system of a CSV&apos;s x and y, e.g. EPSG:4326; empty: the map&apos;s</source>
        <translation>The coordinate system of a CSV&apos;s x and y, e.g. EPSG:4326; empty: the map&apos;s</translation>
    </message>
    <message>
        <source>The shape of the buffer around each site</source>
        <translation>The shape of the buffer around each site</translation>
    </message>
    <message>
        <source>The classes that count as habitat, e.g. 41-43; empty keeps the map&apos;s own classes</source>
        <translation>The classes that count as habitat, e.g. 41-43; empty keeps the map&apos;s own classes</translation>
    </message>
    <message>
        <source>Whether cells touching at a corner belong to one patch (8) or not (4)</source>
        <translation>Whether cells touching at a corner belong to one patch (8) or not (4)</translation>
    </message>
    <message>
        <source>Measure the usual class and landscape metrics</source>
        <translation>Measure the usual class and landscape metrics</translation>
    </message>
    <message>
        <source>Measure only the metrics ticked in the list</source>
        <translation>Measure only the metrics ticked in the list</translation>
    </message>
    <message>
        <source>Tick the metrics to measure</source>
        <translation>Tick the metrics to measure</translation>
    </message>
    <message>
        <source>The CSV table to write, one row per site, radius and metric</source>
        <translation>The CSV table to write, one row per site, radius and metric</translation>
    </message>
    <message>
        <source>Choose where to save the table</source>
        <translation>Choose where to save the table</translation>
    </message>
</context>
<context>
    <name>DialogSurface</name>
    <message>
        <source>Moving-window surface</source>
        <translation>Moving-window surface</translation>
    </message>
    <message>
        <source>Land-cover map:</source>
        <translation>Land-cover map:</translation>
    </message>
    <message>
        <source>a GeoTIFF or any raster GDAL reads</source>
        <translation>a GeoTIFF or any raster GDAL reads</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Browse…</translation>
    </message>
    <message>
        <source>Windows</source>
        <translation>Windows</translation>
    </message>
    <message>
        <source>Window side (cells, odd):</source>
        <translation>Window side (cells, odd):</translation>
    </message>
    <message>
        <source>Shape:</source>
        <translation>Shape:</translation>
    </message>
    <message>
        <source>Square</source>
        <translation>Square</translation>
    </message>
    <message>
        <source>Circle (cells within half the side of the centre)</source>
        <translation>Circle (cells within half the side of the centre)</translation>
    </message>
    <message>
        <source>Step (every Nth row and column):</source>
        <translation>Step (every Nth row and column):</translation>
    </message>
    <message>
        <source>Habitat classes:</source>
        <translation>Habitat classes:</translation>
    </message>
    <message>
        <source>empty: the map&apos;s own classes; or e.g. 41-43</source>
        <translation>empty: the map&apos;s own classes; or e.g. 41-43</translation>
    </message>
    <message>
        <source>Patch rule:</source>
        <translation>Patch rule:</translation>
    </message>
    <message>
        <source>8 neighbours</source>
        <translation>8 neighbours</translation>
    </message>
    <message>
        <source>4 neighbours</source>
        <translation>4 neighbours</translation>
    </message>
    <message>
        <source>Metrics: one band each, a class metric one band per class</source>
        <translation>Metrics: one band each, a class metric one band per class</translation>
    </message>
    <message>
        <source>Surface:</source>
        <translation>Surface:</translation>
    </message>
    <message>
        <source>MAP_surface.tif beside the map</source>
        <translation>MAP_surface.tif beside the map</translation>
    </message>
    <message>
        <source>The land-cover map to measure window by window</source>
        <translation>The land-cover map to measure window by window</translation>
    </message>
    <message>
        <source>Choose the land-cover map</source>
        <translation>Choose the land-cover map</translation>
    </message>
    <message>
        <source>Side of the moving window in cells; odd, so that it has a centre cell</source>
        <translation>Side of the moving window in cells; odd, so that it has a centre cell</translation>
    </message>
    <message>
        <source>The shape of the moving window</source>
        <translation>The shape of the moving window</translation>
    </message>
    <message>
        <source>Measure every Nth row and column: 1 measures every cell</source>
        <translation>Measure every Nth row and column: 1 measures every cell</translation>
    </message>
    <message>
        <source>The classes that count as habitat, e.g. 41-43; empty keeps the map&apos;s own classes</source>
        <translation>The classes that count as habitat, e.g. 41-43; empty keeps the map&apos;s own classes</translation>
    </message>
    <message>
        <source>Whether cells touching at a corner belong to one patch (8) or not (4)</source>
        <translation>Whether cells touching at a corner belong to one patch (8) or not (4)</translation>
    </message>
    <message>
        <source>Tick the metrics: each becomes a band of the surface</source>
        <translation>Tick the metrics: each becomes a band of the surface</translation>
    </message>
    <message>
        <source>The GeoTIFF to write</source>
        <translation>The GeoTIFF to write</translation>
    </message>
    <message>
        <source>Choose where to save the surface</source>
        <translation>Choose where to save the surface</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Orvalis</source>
        <translation>Orvalis</translation>
    </message>
    <message>
        <source>File list</source>
        <translation>File list</translation>
    </message>
    <message>
        <source>Map</source>
        <translation>Map</translation>
    </message>
    <message>
        <source>Grid</source>
        <translation>Grid</translation>
    </message>
    <message>
        <source>File</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Create</source>
        <translation>Create</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Random</source>
        <translation>Random…</translation>
    </message>
    <message>
        <source>Fractal</source>
        <translation>Fractal…</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Open…</translation>
    </message>
    <message>
        <source>Open directory</source>
        <translation>Open landscape files</translation>
    </message>
    <message>
        <source>Ctrl+O</source>
        <translation>Ctrl+O</translation>
    </message>
    <message>
        <source>Clear List</source>
        <translation>Clear List</translation>
    </message>
    <message>
        <source>Export Picture…</source>
        <translation>Export Picture…</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>Ctrl+Q</source>
        <translation>Ctrl+Q</translation>
    </message>
    <message>
        <source>About Orvalis</source>
        <translation>About Orvalis</translation>
    </message>
    <message>
        <source>F1</source>
        <translation>F1</translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation>Parameters…</translation>
    </message>
    <message>
        <source>Sample</source>
        <translation>Sample…</translation>
    </message>
</context>
<context>
    <name>MapView</name>
    <message>
        <source>Reading the map was stopped.</source>
        <translation>Reading the map was stopped.</translation>
    </message>
    <message>
        <source>habitat (dark pixels)</source>
        <translation>habitat (dark pixels)</translation>
    </message>
    <message>
        <source>matrix (light pixels)</source>
        <translation>matrix (light pixels)</translation>
    </message>
    <message>
        <source>Stop reading</source>
        <translation>Stop reading</translation>
    </message>
    <message>
        <source>1 sampled window</source>
        <translation>1 sampled window</translation>
    </message>
    <message>
        <source>%1 sampled windows</source>
        <translation>%1 sampled windows</translation>
    </message>
    <message>
        <source>%1 (%2%)</source>
        <translation>%1 (%2%)</translation>
    </message>
    <message>
        <source>%1 %2 (%3%)</source>
        <translation>%1 %2 (%3%)</translation>
    </message>
    <message>
        <source>… and %1 more</source>
        <translation>… and %1 more</translation>
    </message>
    <message>
        <source>NLCD land cover</source>
        <translation>NLCD land cover</translation>
    </message>
    <message>
        <source>Classes</source>
        <translation>Classes</translation>
    </message>
    <message>
        <source>no data</source>
        <translation>no data</translation>
    </message>
    <message>
        <source>no data (%1)</source>
        <translation>no data (%1)</translation>
    </message>
    <message>
        <source>%1 %2</source>
        <translation>%1 %2</translation>
    </message>
    <message>
        <source>row %1, column %2: %3</source>
        <translation>row %1, column %2: %3</translation>
    </message>
    <message>
        <source>
longitude %1, latitude %2</source>
        <translation>
longitude %1, latitude %2</translation>
    </message>
    <message>
        <source>
x %1, y %2</source>
        <translation>
x %1, y %2</translation>
    </message>
    <message>
        <source>%1 %2%</source>
        <translation>%1 %2%</translation>
    </message>
</context>
<context>
    <name>MetricsPanel</name>
    <message>
        <source>Warning: no side in metres from the file&apos;s frame (%1); set it here</source>
        <translation>Warning: no side in metres from the file&apos;s frame (%1); set it here</translation>
    </message>
    <message>
        <source>from the sampling run&apos;s record</source>
        <translation>from the sampling run&apos;s record</translation>
    </message>
    <message>
        <source>the sampling run&apos;s record gives %1 m</source>
        <translation>the sampling run&apos;s record gives %1 m</translation>
    </message>
    <message>
        <source>Areas and lengths assume cells of %1 m, a side the file does not give (%2).</source>
        <translation>Areas and lengths assume cells of %1 m, a side the file does not give (%2).</translation>
    </message>
</context>
<context>
    <name>NeutralAction</name>
    <message>
        <source>Neutral landscape…</source>
        <translation>Neutral landscape…</translation>
    </message>
    <message>
        <source>The neutral landscapes were not made: %1</source>
        <translation>The neutral landscapes were not made: %1</translation>
    </message>
    <message>
        <source>The neutral landscapes stopped: %1</source>
        <translation>The neutral landscapes stopped: %1</translation>
    </message>
</context>
<context>
    <name>dialogFbm</name>
    <message>
        <source>Fractal settings</source>
        <translation>Fractal settings</translation>
    </message>
    <message>
        <source>Initial H</source>
        <translation>Initial H</translation>
    </message>
    <message>
        <source>Final H</source>
        <translation>Final H</translation>
    </message>
    <message>
        <source>Step change in H</source>
        <translation>Step change in H</translation>
    </message>
    <message>
        <source>Cover mim</source>
        <translation>Cover min</translation>
    </message>
    <message>
        <source>Cover max</source>
        <translation>Cover max</translation>
    </message>
    <message>
        <source>Step change in cover</source>
        <translation>Step change in cover</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>Number or replicates</source>
        <translation>Number of replicates</translation>
    </message>
    <message>
        <source>TOTAL NUMBER OF FILES TO GENERATE:</source>
        <translation>Total number of files to generate</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Folder</translation>
    </message>
    <message>
        <source>...</source>
        <translation>Browse…</translation>
    </message>
    <message>
        <source>Measure every landscape into metrics.csv in the folder</source>
        <translation>Measure every landscape into metrics.csv in the folder</translation>
    </message>
    <message>
        <source>Choose folder to generate files</source>
        <translation>Choose folder to generate files</translation>
    </message>
    <message>
        <source>First Hurst exponent H (0 to 1): higher H gives smoother, more clumped habitat</source>
        <translation>First Hurst exponent H (0 to 1): higher H gives smoother, more clumped habitat</translation>
    </message>
    <message>
        <source>Last Hurst exponent H of the series</source>
        <translation>Last Hurst exponent H of the series</translation>
    </message>
    <message>
        <source>Step between one H and the next</source>
        <translation>Step between one H and the next</translation>
    </message>
    <message>
        <source>Lowest habitat cover, in whole percent</source>
        <translation>Lowest habitat cover, in whole percent</translation>
    </message>
    <message>
        <source>Highest habitat cover, in whole percent</source>
        <translation>Highest habitat cover, in whole percent</translation>
    </message>
    <message>
        <source>Percent between one cover level and the next</source>
        <translation>Percent between one cover level and the next</translation>
    </message>
    <message>
        <source>Side of each square landscape, in cells</source>
        <translation>Side of each square landscape, in cells</translation>
    </message>
    <message>
        <source>How many surfaces for each H; each is cut at every cover level</source>
        <translation>How many surfaces for each H; each is cut at every cover level</translation>
    </message>
    <message>
        <source>Landscapes to write (computed)</source>
        <translation>Landscapes to write (computed)</translation>
    </message>
    <message>
        <source>The folder the landscape files are written to</source>
        <translation>The folder the landscape files are written to</translation>
    </message>
    <message>
        <source>Choose the folder for the landscape files</source>
        <translation>Choose the folder for the landscape files</translation>
    </message>
    <message>
        <source>Also measure the landscape metrics of every landscape, into metrics.csv</source>
        <translation>Also measure the landscape metrics of every landscape, into metrics.csv</translation>
    </message>
</context>
<context>
    <name>orvalis::charts</name>
    <message>
        <source>landscape level</source>
        <translation>landscape level</translation>
    </message>
    <message>
        <source>class %1</source>
        <translation>class %1</translation>
    </message>
    <message>
        <source>habitat (%1)</source>
        <translation>habitat (%1)</translation>
    </message>
    <message>
        <source>matrix (%1)</source>
        <translation>matrix (%1)</translation>
    </message>
    <message>
        <source>lines: medians; hatched bands: 2.5–97.5 % of the replicates; dots: real windows</source>
        <translation>lines: medians; hatched bands: 2.5–97.5 % of the replicates; dots: real windows</translation>
    </message>
    <message>
        <source>real windows (%1)</source>
        <translation>real windows (%1)</translation>
    </message>
    <message>
        <source>Habitat cover (%)</source>
        <translation>Habitat cover (%)</translation>
    </message>
    <message>
        <source>Percolation of random landscapes: replicates whose habitat (class %1) spans</source>
        <translation>Percolation of random landscapes: replicates whose habitat (class %1) spans</translation>
    </message>
    <message>
        <source>random replicates</source>
        <translation>random replicates</translation>
    </message>
    <message>
        <source>4 neighbours</source>
        <translation>4 neighbours</translation>
    </message>
    <message>
        <source>8 neighbours</source>
        <translation>8 neighbours</translation>
    </message>
    <message>
        <source>threshold %1</source>
        <translation>threshold %1</translation>
    </message>
    <message>
        <source>Replicates spanning (%)</source>
        <translation>Replicates spanning (%)</translation>
    </message>
</context>
<context>
    <name>orvalis::messages</name>
    <message>
        <source>no folder was chosen for the window files</source>
        <translation>no folder was chosen for the window files</translation>
    </message>
    <message>
        <source>the window must be at least 2 pixels wide</source>
        <translation>the window must be at least 2 pixels wide</translation>
    </message>
    <message>
        <source>the cover step must be at least 1</source>
        <translation>the cover step must be at least 1</translation>
    </message>
    <message>
        <source>a window of %1 pixels does not fit inside the image of %2</source>
        <translation>a window of %1 pixels does not fit inside the image of %2</translation>
    </message>
    <message>
        <source>every cover level got its replicates</source>
        <translation>every cover level got its replicates</translation>
    </message>
    <message>
        <source>the search spent all its tries</source>
        <translation>the search spent all its tries</translation>
    </message>
    <message>
        <source>cancelled</source>
        <translation>cancelled</translation>
    </message>
    <message>
        <source>no window centre is left outside the minimum distance of the accepted ones</source>
        <translation>no window centre is left outside the minimum distance of the accepted ones</translation>
    </message>
    <message>
        <source>no window centre is left: every possible centre lies within the minimum distance of an accepted window</source>
        <translation>no window centre is left: every possible centre lies within the minimum distance of an accepted window</translation>
    </message>
    <message>
        <source>sample.txt could not be created</source>
        <translation>sample.txt could not be created</translation>
    </message>
    <message>
        <source>sample.txt could not be written</source>
        <translation>sample.txt could not be written</translation>
    </message>
    <message>
        <source>the batch list could not be written</source>
        <translation>the batch list could not be written</translation>
    </message>
    <message>
        <source>the metrics table could not be written</source>
        <translation>the metrics table could not be written</translation>
    </message>
    <message>
        <source>a window file could not be written</source>
        <translation>a window file could not be written</translation>
    </message>
    <message>
        <source>no image loaded</source>
        <translation>no image loaded</translation>
    </message>
    <message>
        <source>bad parameters</source>
        <translation>bad parameters</translation>
    </message>
    <message>
        <source>another run writes into the same folder</source>
        <translation>another run writes into the same folder</translation>
    </message>
    <message>
        <source>habitat classes are for land-cover maps: in a TGA image the dark pixels are habitat</source>
        <translation>habitat classes are for land-cover maps: in a TGA image the dark pixels are habitat</translation>
    </message>
    <message>
        <source>windows cut from a TGA image are written as text grids (txt) only</source>
        <translation>windows cut from a TGA image are written as text grids (txt) only</translation>
    </message>
    <message>
        <source>a TGA image has no classes to keep: its windows hold the cover and matrix values</source>
        <translation>a TGA image has no classes to keep: its windows hold the cover and matrix values</translation>
    </message>
    <message>
        <source>the cover minimum %1 is above the maximum %2</source>
        <translation>the cover minimum %1 is above the maximum %2</translation>
    </message>
    <message>
        <source>landscapes of %1 cells hold nothing to measure</source>
        <translation>landscapes of %1 cells hold nothing to measure</translation>
    </message>
    <message>
        <source>landscapes of %1 cells are too large to measure (at most %2 cells)</source>
        <translation>landscapes of %1 cells are too large to measure (at most %2 cells)</translation>
    </message>
    <message>
        <source>invalid random series: the cover step must be at least 1 and sizes and replicates must not be negative</source>
        <translation>invalid random series: the cover step must be at least 1 and sizes and replicates must not be negative</translation>
    </message>
    <message>
        <source>the H range needs finite values and a step above 0</source>
        <translation>the H range needs finite values and a step above 0</translation>
    </message>
    <message>
        <source>the H range asks for more than 100000 H values</source>
        <translation>the H range asks for more than 100000 H values</translation>
    </message>
    <message>
        <source>cover percentages must lie between 0 and 100</source>
        <translation>cover percentages must lie between 0 and 100</translation>
    </message>
    <message>
        <source>the size must be between 1 and %1 cells (got %2)</source>
        <translation>the size must be between 1 and %1 cells (got %2)</translation>
    </message>
    <message>
        <source>the number of replicates must be at least 1</source>
        <translation>the number of replicates must be at least 1</translation>
    </message>
    <message>
        <source>the number of jobs cannot be negative</source>
        <translation>the number of jobs cannot be negative</translation>
    </message>
    <message>
        <source>H values %1 and %2 would share the file names of H %3; use a step of at least 0.01</source>
        <translation>H values %1 and %2 would share the file names of H %3; use a step of at least 0.01</translation>
    </message>
    <message>
        <source>no neutral model named</source>
        <translation>no neutral model named</translation>
    </message>
    <message>
        <source>no neutral models named</source>
        <translation>no neutral models named</translation>
    </message>
    <message>
        <source>cover levels must lie between 0 and 100 (got %1)</source>
        <translation>cover levels must lie between 0 and 100 (got %1)</translation>
    </message>
    <message>
        <source>a cover level is named twice: its files would overwrite each other</source>
        <translation>a cover level is named twice: its files would overwrite each other</translation>
    </message>
    <message>
        <source>the cover and matrix values must differ</source>
        <translation>the cover and matrix values must differ</translation>
    </message>
    <message>
        <source>the mask is not of %1 cells</source>
        <translation>the mask is not of %1 cells</translation>
    </message>
    <message>
        <source>the cell size must be above 0</source>
        <translation>the cell size must be above 0</translation>
    </message>
    <message>
        <source>name at least one cover level</source>
        <translation>name at least one cover level</translation>
    </message>
    <message>
        <source>&apos;%1&apos;: levels are MIN:MAX:STEP with 0 &lt;= MIN &lt;= MAX &lt;= 100 and STEP 1..100</source>
        <translation>&apos;%1&apos;: levels are MIN:MAX:STEP with 0 &lt;= MIN &lt;= MAX &lt;= 100 and STEP 1..100</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a cover level, a whole percentage 0..100</source>
        <translation>&apos;%1&apos; is not a cover level, a whole percentage 0..100</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a number</source>
        <translation>&apos;%1&apos; is not a number</translation>
    </message>
    <message>
        <source>%1 x %2 landscapes of %3 need about %4 GB with %5 job; %6 GB of memory are free</source>
        <translation>%1 x %2 landscapes of %3 need about %4 GB with %5 job; %6 GB of memory are free</translation>
    </message>
    <message>
        <source>%1 x %2 landscapes of %3 need about %4 GB with %5 jobs; %6 GB of memory are free</source>
        <translation>%1 x %2 landscapes of %3 need about %4 GB with %5 jobs; %6 GB of memory are free</translation>
    </message>
    <message>
        <source>no windows to compare</source>
        <translation>no windows to compare</translation>
    </message>
    <message>
        <source>neighbours must be 4 or 8</source>
        <translation>neighbours must be 4 or 8</translation>
    </message>
    <message>
        <source>two windows are named like %1: their kept landscapes would share names</source>
        <translation>two windows are named like %1: their kept landscapes would share names</translation>
    </message>
    <message>
        <source>none of the windows can be read (the first: %1)</source>
        <translation>none of the windows can be read (the first: %1)</translation>
    </message>
    <message>
        <source>no metric to compute</source>
        <translation>no metric to compute</translation>
    </message>
    <message>
        <source>the cell size must be a positive number</source>
        <translation>the cell size must be a positive number</translation>
    </message>
    <message>
        <source>a surface holds class and landscape metrics, one value per window: patch metrics have none</source>
        <translation>a surface holds class and landscape metrics, one value per window: patch metrics have none</translation>
    </message>
    <message>
        <source>%1=%2 is outside %3</source>
        <translation>%1=%2 is outside %3</translation>
    </message>
    <message>
        <source>%1=%2: &apos;%3&apos; is not a number</source>
        <translation>%1=%2: &apos;%3&apos; is not a number</translation>
    </message>
    <message>
        <source>%1=%2: &apos;%3&apos; is not a whole number</source>
        <translation>%1=%2: &apos;%3&apos; is not a whole number</translation>
    </message>
    <message>
        <source>cannot read the source grid %1: %2</source>
        <translation>cannot read the source grid %1: %2</translation>
    </message>
    <message>
        <source>the source grid %1 is not of %2 cells</source>
        <translation>the source grid %1 is not of %2 cells</translation>
    </message>
    <message>
        <source>the source grid %1 holds no source cell (a value other than 0 and no-data)</source>
        <translation>the source grid %1 holds no source cell (a value other than 0 and no-data)</translation>
    </message>
    <message>
        <source>the folder %1 cannot be used: %2</source>
        <translation>the folder %1 cannot be used: %2</translation>
    </message>
    <message>
        <source>the folder %1 takes no new files: %2</source>
        <translation>the folder %1 takes no new files: %2</translation>
    </message>
    <message>
        <source>%1 is not a folder</source>
        <translation>%1 is not a folder</translation>
    </message>
    <message>
        <source>the %1 holds a line break or another control character, which would break its lists</source>
        <translation>the %1 holds a line break or another control character, which would break its lists</translation>
    </message>
    <message>
        <source>the file name %1 is longer than the %2 bytes the file system allows</source>
        <translation>the file name %1 is longer than the %2 bytes the file system allows</translation>
    </message>
    <message>
        <source>cannot open the folder %1: %2</source>
        <translation>cannot open the folder %1: %2</translation>
    </message>
    <message>
        <source>cannot lock the folder %1: %2</source>
        <translation>cannot lock the folder %1: %2</translation>
    </message>
    <message>
        <source>cannot create %1: %2</source>
        <translation>cannot create %1: %2</translation>
    </message>
    <message>
        <source>cannot create %1</source>
        <translation>cannot create %1</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>cannot write %1: %2</translation>
    </message>
    <message>
        <source>cannot write %1</source>
        <translation>cannot write %1</translation>
    </message>
    <message>
        <source>could not write %1: %2</source>
        <translation>could not write %1: %2</translation>
    </message>
    <message>
        <source>could not write %1</source>
        <translation>could not write %1</translation>
    </message>
    <message>
        <source>could not make %1: %2</source>
        <translation>could not make %1: %2</translation>
    </message>
    <message>
        <source>could not measure %1: %2</source>
        <translation>could not measure %1: %2</translation>
    </message>
    <message>
        <source>could not build the surface of H %1 number %2: %3</source>
        <translation>could not build the surface of H %1 number %2: %3</translation>
    </message>
    <message>
        <source>cannot make %1: %2</source>
        <translation>cannot make %1: %2</translation>
    </message>
    <message>
        <source>cannot remove %1 of the earlier comparison: %2</source>
        <translation>cannot remove %1 of the earlier comparison: %2</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>not a regular file</translation>
    </message>
    <message>
        <source>no such file</source>
        <translation>no such file</translation>
    </message>
    <message>
        <source>file too large (%1 bytes)</source>
        <translation>file too large (%1 bytes)</translation>
    </message>
    <message>
        <source>it holds binary data, not a landscape grid</source>
        <translation>it holds binary data, not a landscape grid</translation>
    </message>
    <message>
        <source>read error: %1</source>
        <translation>read error: %1</translation>
    </message>
    <message>
        <source>read error</source>
        <translation>read error</translation>
    </message>
    <message>
        <source>write failed: %1</source>
        <translation>write failed: %1</translation>
    </message>
    <message>
        <source>out of memory</source>
        <translation>out of memory</translation>
    </message>
    <message>
        <source>not a TGA image: the header is cut short</source>
        <translation>not a TGA image: the header is cut short</translation>
    </message>
    <message>
        <source>not an uncompressed 24- or 32-bit TGA image</source>
        <translation>not an uncompressed 24- or 32-bit TGA image</translation>
    </message>
    <message>
        <source>the TGA image is cut short</source>
        <translation>the TGA image is cut short</translation>
    </message>
    <message>
        <source>no habitat class given</source>
        <translation>no habitat class given</translation>
    </message>
    <message>
        <source>item %1 is empty</source>
        <translation>item %1 is empty</translation>
    </message>
    <message>
        <source>the range %1 runs backwards</source>
        <translation>the range %1 runs backwards</translation>
    </message>
    <message>
        <source>more than %1 classes</source>
        <translation>more than %1 classes</translation>
    </message>
    <message>
        <source>%1: %2; its parameters: %3</source>
        <translation>%1: %2; its parameters: %3</translation>
    </message>
    <message>
        <source>%1 %2, default %3</source>
        <translation>%1 %2, default %3</translation>
    </message>
    <message>
        <source>%1 %2, drawn when absent</source>
        <translation>%1 %2, drawn when absent</translation>
    </message>
    <message>
        <source>%1 %2, required</source>
        <translation>%1 %2, required</translation>
    </message>
    <message>
        <source>LIST, each %1</source>
        <translation>LIST, each %1</translation>
    </message>
    <message>
        <source>FILE</source>
        <translation>FILE</translation>
    </message>
    <message>
        <source>%1=%2 is not one of %3</source>
        <translation>%1=%2 is not one of %3</translation>
    </message>
    <message>
        <source>%1 needs a file name</source>
        <translation>%1 needs a file name</translation>
    </message>
    <message>
        <source>%1 takes no parameters (&apos;%2&apos;)</source>
        <translation>%1 takes no parameters (&apos;%2&apos;)</translation>
    </message>
    <message>
        <source>an empty parameter</source>
        <translation>an empty parameter</translation>
    </message>
    <message>
        <source>unknown parameter &apos;%1&apos;</source>
        <translation>unknown parameter &apos;%1&apos;</translation>
    </message>
    <message>
        <source>%1 is required, in %2</source>
        <translation>%1 is required, in %2</translation>
    </message>
    <message>
        <source>min=%1 is above max=%2</source>
        <translation>min=%1 is above max=%2</translation>
    </message>
    <message>
        <source>proportions and subdivisions must have as many levels (%1 and %2)</source>
        <translation>proportions and subdivisions must have as many levels (%1 and %2)</translation>
    </message>
    <message>
        <source>the subdivisions make %1 blocks a side; at most 4096</source>
        <translation>the subdivisions make %1 blocks a side; at most 4096</translation>
    </message>
    <message>
        <source>periods x lacunarity^(octaves - 1) is above 1024</source>
        <translation>periods x lacunarity^(octaves - 1) is above 1024</translation>
    </message>
    <message>
        <source>unknown neutral model &apos;%1&apos; (models: %2)</source>
        <translation>unknown neutral model &apos;%1&apos; (models: %2)</translation>
    </message>
    <message>
        <source>a landscape needs at least one row and one column</source>
        <translation>a landscape needs at least one row and one column</translation>
    </message>
    <message>
        <source>%1 x %2 cells is above the %3 cells a landscape may hold</source>
        <translation>%1 x %2 cells is above the %3 cells a landscape may hold</translation>
    </message>
    <message>
        <source>%1 makes landscapes of at most %2 cells a side</source>
        <translation>%1 makes landscapes of at most %2 cells a side</translation>
    </message>
    <message>
        <source>%1 cannot be opened as a map: %2</source>
        <translation>%1 cannot be opened as a map: %2</translation>
    </message>
    <message>
        <source>no raster format knows it</source>
        <translation>no raster format knows it</translation>
    </message>
    <message>
        <source>band %1 does not exist: %2 has %3</source>
        <translation>band %1 does not exist: %2 has %3</translation>
    </message>
    <message>
        <source>no map is open</source>
        <translation>no map is open</translation>
    </message>
    <message>
        <source>reading %1 failed: %2</source>
        <translation>reading %1 failed: %2</translation>
    </message>
    <message>
        <source>reading %1 was stopped</source>
        <translation>reading %1 was stopped</translation>
    </message>
    <message>
        <source>counting the classes of %1 was stopped</source>
        <translation>counting the classes of %1 was stopped</translation>
    </message>
    <message>
        <source>counting the classes of %1 failed: %2</source>
        <translation>counting the classes of %1 failed: %2</translation>
    </message>
    <message>
        <source>the window lies outside the map</source>
        <translation>the window lies outside the map</translation>
    </message>
    <message>
        <source>its cells are rotated or not square</source>
        <translation>its cells are rotated or not square</translation>
    </message>
    <message>
        <source>it has no coordinate system</source>
        <translation>it has no coordinate system</translation>
    </message>
    <message>
        <source>its coordinates are degrees</source>
        <translation>its coordinates are degrees</translation>
    </message>
    <message>
        <source>GDAL cannot read it as a raster</source>
        <translation>GDAL cannot read it as a raster</translation>
    </message>
    <message>
        <source>it holds no band</source>
        <translation>it holds no band</translation>
    </message>
    <message>
        <source>its cells could not be read</source>
        <translation>its cells could not be read</translation>
    </message>
    <message>
        <source>a text grid knows no cell size</source>
        <translation>a text grid knows no cell size</translation>
    </message>
    <message>
        <source>its frame gives no cell size</source>
        <translation>its frame gives no cell size</translation>
    </message>
    <message>
        <source>a land-cover map needs its habitat classes (for example 41-43 for NLCD forest)</source>
        <translation>a land-cover map needs its habitat classes (for example 41-43 for NLCD forest)</translation>
    </message>
    <message>
        <source>the map is too large to sample</source>
        <translation>the map is too large to sample</translation>
    </message>
    <message>
        <source>every cell of the map is no-data: there is nothing to sample</source>
        <translation>every cell of the map is no-data: there is nothing to sample</translation>
    </message>
    <message>
        <source>the map&apos;s coordinate system is geographic (degrees): cell sizes and areas of its windows are not metric</source>
        <translation>the map&apos;s coordinate system is geographic (degrees): cell sizes and areas of its windows are not metric</translation>
    </message>
    <message>
        <source>habitat class %1 does not occur in the map</source>
        <translation>habitat class %1 does not occur in the map</translation>
    </message>
    <message>
        <source>windows cannot be written: %1</source>
        <translation>windows cannot be written: %1</translation>
    </message>
    <message>
        <source>not a file: %1</source>
        <translation>not a file: %1</translation>
    </message>
    <message>
        <source>cannot open %1</source>
        <translation>cannot open %1</translation>
    </message>
    <message>
        <source>cannot read %1</source>
        <translation>cannot read %1</translation>
    </message>
    <message>
        <source>line %1: %2</source>
        <translation>line %1: %2</translation>
    </message>
    <message>
        <source>not NAME COVER X Y [MAPX MAPY]: %1</source>
        <translation>not NAME COVER X Y [MAPX MAPY]: %1</translation>
    </message>
    <message>
        <source>binary data, not a landscape grid</source>
        <translation>binary data, not a landscape grid</translation>
    </message>
    <message>
        <source>no values</source>
        <translation>no values</translation>
    </message>
    <message>
        <source>the file holds no grid</source>
        <translation>the file holds no grid</translation>
    </message>
    <message>
        <source>%1 is missing</source>
        <translation>%1 is missing</translation>
    </message>
    <message>
        <source>%1 is longer than %2 bytes</source>
        <translation>%1 is longer than %2 bytes</translation>
    </message>
    <message>
        <source>%1 holds control characters: the file is not text in UTF-8 or Latin-1</source>
        <translation>%1 holds control characters: the file is not text in UTF-8 or Latin-1</translation>
    </message>
    <message>
        <source>%1 is not a whole number</source>
        <translation>%1 is not a whole number</translation>
    </message>
    <message>
        <source>%1 is outside the range of whole numbers the program can hold</source>
        <translation>%1 is outside the range of whole numbers the program can hold</translation>
    </message>
    <message>
        <source>%1 holds a line break or NUL character</source>
        <translation>%1 holds a line break or NUL character</translation>
    </message>
    <message>
        <source>line %1 (%2)</source>
        <translation>line %1 (%2)</translation>
    </message>
    <message>
        <source>the sample name</source>
        <translation>the sample name</translation>
    </message>
    <message>
        <source>the sample post-string</source>
        <translation>the sample post-string</translation>
    </message>
    <message>
        <source>the cover value</source>
        <translation>the cover value</translation>
    </message>
    <message>
        <source>the matrix value</source>
        <translation>the matrix value</translation>
    </message>
    <message>
        <source>sample name</source>
        <translation>sample name</translation>
    </message>
    <message>
        <source>sample post-string</source>
        <translation>sample post-string</translation>
    </message>
    <message>
        <source>cover value</source>
        <translation>cover value</translation>
    </message>
    <message>
        <source>matrix value</source>
        <translation>matrix value</translation>
    </message>
    <message>
        <source>post-string</source>
        <translation>post-string</translation>
    </message>
    <message>
        <source>classes are whole numbers separated by commas, a range written FIRST-LAST (e.g. 11, 41-43, 90; negative classes keep their minus sign: -5--3 is -5 to -3, -5-3 is -5 to 3)</source>
        <translation>classes are whole numbers separated by commas, a range written FIRST-LAST (e.g. 11, 41-43, 90; negative classes keep their minus sign: -5--3 is -5 to -3, -5-3 is -5 to 3)</translation>
    </message>
    <message>
        <source>%1: classes are whole numbers separated by commas, a range written FIRST-LAST (e.g. 11, 41-43, 90; negative classes keep their minus sign: -5--3 is -5 to -3, -5-3 is -5 to 3).</source>
        <translation>%1: classes are whole numbers separated by commas, a range written FIRST-LAST (e.g. 11, 41-43, 90; negative classes keep their minus sign: -5--3 is -5 to -3, -5-3 is -5 to 3).</translation>
    </message>
</context>
<context>
    <name>orvalis::metrics</name>
    <message>
        <source>area and edge</source>
        <translation>area and edge</translation>
    </message>
    <message>
        <source>shape</source>
        <translation>shape</translation>
    </message>
    <message>
        <source>core area</source>
        <translation>core area</translation>
    </message>
    <message>
        <source>aggregation</source>
        <translation>aggregation</translation>
    </message>
    <message>
        <source>diversity</source>
        <translation>diversity</translation>
    </message>
    <message>
        <source>complexity</source>
        <translation>complexity</translation>
    </message>
    <message>
        <source>patch area</source>
        <translation>patch area</translation>
    </message>
    <message>
        <source>ha</source>
        <translation>ha</translation>
    </message>
    <message>
        <source>cells of the patch x cell area</source>
        <translation>cells of the patch x cell area</translation>
    </message>
    <message>
        <source>core area index</source>
        <translation>core area index</translation>
    </message>
    <message>
        <source>%</source>
        <translation>%</translation>
    </message>
    <message>
        <source>core area / area x 100</source>
        <translation>core area / area x 100</translation>
    </message>
    <message>
        <source>related circumscribing circle</source>
        <translation>related circumscribing circle</translation>
    </message>
    <message>
        <source>1 - area / area of the smallest circle holding the outer corners of the patch&apos;s cells in its first and last rows and columns</source>
        <translation>1 - area / area of the smallest circle holding the outer corners of the patch&apos;s cells in its first and last rows and columns</translation>
    </message>
    <message>
        <source>contiguity index</source>
        <translation>contiguity index</translation>
    </message>
    <message>
        <source>(mean over the patch&apos;s cells of the 3 x 3 template (1 centre, 2 sides, 1 corners) summed over its cells in the patch, minus 1) / 12</source>
        <translation>(mean over the patch&apos;s cells of the 3 x 3 template (1 centre, 2 sides, 1 corners) summed over its cells in the patch, minus 1) / 12</translation>
    </message>
    <message>
        <source>cells of the patch more than --edge-depth steps across cell sides from any cell outside it (the map&apos;s edge is outside unless --consider-boundary) x cell area</source>
        <translation>cells of the patch more than --edge-depth steps across cell sides from any cell outside it (the map&apos;s edge is outside unless --consider-boundary) x cell area</translation>
    </message>
    <message>
        <source>Euclidean nearest-neighbour distance</source>
        <translation>Euclidean nearest-neighbour distance</translation>
    </message>
    <message>
        <source>m</source>
        <translation>m</translation>
    </message>
    <message>
        <source>shortest distance between the centres of a cell of the patch and a cell of another patch of its class; NA when its class has one patch</source>
        <translation>shortest distance between the centres of a cell of the patch and a cell of another patch of its class; NA when its class has one patch</translation>
    </message>
    <message>
        <source>fractal dimension index</source>
        <translation>fractal dimension index</translation>
    </message>
    <message>
        <source>2 ln(0.25 x perimeter) / ln(area), perimeter in m and area in m²; 1 for a one-cell patch of 1 m</source>
        <translation>2 ln(0.25 x perimeter) / ln(area), perimeter in m and area in m²; 1 for a one-cell patch of 1 m</translation>
    </message>
    <message>
        <source>radius of gyration</source>
        <translation>radius of gyration</translation>
    </message>
    <message>
        <source>mean distance between the patch&apos;s cell centres and their centroid (with --cell-center, the patch&apos;s cell nearest it)</source>
        <translation>mean distance between the patch&apos;s cell centres and their centroid (with --cell-center, the patch&apos;s cell nearest it)</translation>
    </message>
    <message>
        <source>number of core areas</source>
        <translation>number of core areas</translation>
    </message>
    <message>
        <source>disjunct core areas of the patch, their cells joined by the patch rule</source>
        <translation>disjunct core areas of the patch, their cells joined by the patch rule</translation>
    </message>
    <message>
        <source>perimeter-area ratio</source>
        <translation>perimeter-area ratio</translation>
    </message>
    <message>
        <source>m/m²</source>
        <translation>m/m²</translation>
    </message>
    <message>
        <source>perimeter (m) / area (m²)</source>
        <translation>perimeter (m) / area (m²)</translation>
    </message>
    <message>
        <source>patch perimeter</source>
        <translation>patch perimeter</translation>
    </message>
    <message>
        <source>sides of the patch&apos;s cells facing anything but the patch (other classes, the map&apos;s edge, no-data) x cell side</source>
        <translation>sides of the patch&apos;s cells facing anything but the patch (other classes, the map&apos;s edge, no-data) x cell side</translation>
    </message>
    <message>
        <source>shape index</source>
        <translation>shape index</translation>
    </message>
    <message>
        <source>0.25 x perimeter / sqrt(area), in cell sides and cells</source>
        <translation>0.25 x perimeter / sqrt(area), in cell sides and cells</translation>
    </message>
    <message>
        <source>percentage of landscape</source>
        <translation>percentage of landscape</translation>
    </message>
    <message>
        <source>cells of the class / cells of the landscape x 100</source>
        <translation>cells of the class / cells of the landscape x 100</translation>
    </message>
    <message>
        <source>number of patches</source>
        <translation>number of patches</translation>
    </message>
    <message>
        <source>patches of the class</source>
        <translation>patches of the class</translation>
    </message>
    <message>
        <source>patch density</source>
        <translation>patch density</translation>
    </message>
    <message>
        <source>per 100 ha</source>
        <translation>per 100 ha</translation>
    </message>
    <message>
        <source>patches of the class / landscape area (ha) x 100</source>
        <translation>patches of the class / landscape area (ha) x 100</translation>
    </message>
    <message>
        <source>edge density</source>
        <translation>edge density</translation>
    </message>
    <message>
        <source>m/ha</source>
        <translation>m/ha</translation>
    </message>
    <message>
        <source>total edge (te) / landscape area (ha)</source>
        <translation>total edge (te) / landscape area (ha)</translation>
    </message>
    <message>
        <source>largest patch index</source>
        <translation>largest patch index</translation>
    </message>
    <message>
        <source>cells of the class&apos;s largest patch / cells of the landscape x 100</source>
        <translation>cells of the class&apos;s largest patch / cells of the landscape x 100</translation>
    </message>
    <message>
        <source>mean of patch area</source>
        <translation>mean of patch area</translation>
    </message>
    <message>
        <source>mean of patch area over the class&apos;s patches; NA when any is NA</source>
        <translation>mean of patch area over the class&apos;s patches; NA when any is NA</translation>
    </message>
    <message>
        <source>standard deviation of patch area</source>
        <translation>standard deviation of patch area</translation>
    </message>
    <message>
        <source>sample standard deviation (n - 1) of patch area over the class&apos;s patches; NA when any is NA</source>
        <translation>sample standard deviation (n - 1) of patch area over the class&apos;s patches; NA when any is NA</translation>
    </message>
    <message>
        <source>mean of Euclidean nearest-neighbour distance</source>
        <translation>mean of Euclidean nearest-neighbour distance</translation>
    </message>
    <message>
        <source>mean of Euclidean nearest-neighbour distance over the class&apos;s patches; NA when any is NA</source>
        <translation>mean of Euclidean nearest-neighbour distance over the class&apos;s patches; NA when any is NA</translation>
    </message>
    <message>
        <source>patch cohesion index</source>
        <translation>patch cohesion index</translation>
    </message>
    <message>
        <source>(1 - sum p / sum p sqrt(a)) / (1 - 1 / sqrt(N)) x 100 over the class&apos;s patches, p their perimeters in cell sides (the map&apos;s edge and no-data included), a their cells, N the landscape&apos;s cells; NA on a one-cell map</source>
        <translation>(1 - sum p / sum p sqrt(a)) / (1 - 1 / sqrt(N)) x 100 over the class&apos;s patches, p their perimeters in cell sides (the map&apos;s edge and no-data included), a their cells, N the landscape&apos;s cells; NA on a one-cell map</translation>
    </message>
    <message>
        <source>aggregation index</source>
        <translation>aggregation index</translation>
    </message>
    <message>
        <source>like sides / the most like sides as many cells can share x 100; NA for a class of one cell</source>
        <translation>like sides / the most like sides as many cells can share x 100; NA for a class of one cell</translation>
    </message>
    <message>
        <source>clumpiness index</source>
        <translation>clumpiness index</translation>
    </message>
    <message>
        <source>G = like sides x 2 / (4 n - shortest perimeter of n cells), P = share of the class: (G - P) / P when G &lt; P and P &lt; 0.5, else (G - P) / (1 - P); -1 is maximally dispersed, 1 maximally clumped; NA for one cell or the whole map</source>
        <translation>G = like sides x 2 / (4 n - shortest perimeter of n cells), P = share of the class: (G - P) / P when G &lt; P and P &lt; 0.5, else (G - P) / (1 - P); -1 is maximally dispersed, 1 maximally clumped; NA for one cell or the whole map</translation>
    </message>
    <message>
        <source>effective mesh size</source>
        <translation>effective mesh size</translation>
    </message>
    <message>
        <source>sum of squared patch areas / landscape area</source>
        <translation>sum of squared patch areas / landscape area</translation>
    </message>
    <message>
        <source>landscape division index</source>
        <translation>landscape division index</translation>
    </message>
    <message>
        <source>1 - sum of squared patch areas / landscape area²</source>
        <translation>1 - sum of squared patch areas / landscape area²</translation>
    </message>
    <message>
        <source>splitting index</source>
        <translation>splitting index</translation>
    </message>
    <message>
        <source>landscape area² / sum of squared patch areas</source>
        <translation>landscape area² / sum of squared patch areas</translation>
    </message>
    <message>
        <source>area-weighted mean radius of gyration</source>
        <translation>area-weighted mean radius of gyration</translation>
    </message>
    <message>
        <source>mean of the patches&apos; gyrate weighted by their areas</source>
        <translation>mean of the patches&apos; gyrate weighted by their areas</translation>
    </message>
    <message>
        <source>spanning cluster</source>
        <translation>spanning cluster</translation>
    </message>
    <message>
        <source>1 when one patch of the class touches both the top and bottom rows, or both the left and right columns; else 0</source>
        <translation>1 when one patch of the class touches both the top and bottom rows, or both the left and right columns; else 0</translation>
    </message>
    <message>
        <source>coefficient of variation of patch area</source>
        <translation>coefficient of variation of patch area</translation>
    </message>
    <message>
        <source>sd / mean x 100 of patch area over the class&apos;s patches; NA when any is NA</source>
        <translation>sd / mean x 100 of patch area over the class&apos;s patches; NA when any is NA</translation>
    </message>
    <message>
        <source>total (class) area</source>
        <translation>total (class) area</translation>
    </message>
    <message>
        <source>cells of the class x cell area</source>
        <translation>cells of the class x cell area</translation>
    </message>
    <message>
        <source>coefficient of variation of core area index</source>
        <translation>coefficient of variation of core area index</translation>
    </message>
    <message>
        <source>sd / mean x 100 of core area index over the class&apos;s patches; NA when any is NA</source>
        <translation>sd / mean x 100 of core area index over the class&apos;s patches; NA when any is NA</translation>
    </message>
    <message>
        <source>mean of core area index</source>
        <translation>mean of core area index</translation>
    </message>
    <message>
        <source>mean of core area index over the class&apos;s patches; NA when any is NA</source>
        <translation>mean of core area index over the class&apos;s patches; NA when any is NA</translation>
    </message>
    <message>
        <source>standard deviation of core area index</source>
        <translation>standard deviation of core area index</translation>
    </message>
    <message>
        <source>sample standard deviation (n - 1) of core area index over the class&apos;s patches; NA when any is NA</source>
        <translation>sample standard deviation (n - 1) of core area index over the class&apos;s patches; NA when any is NA</translation>
    </message>
    <message>
        <source>coefficient of variation of related circumscribing circle</source>
        <translation>coefficient of variation of related circumscribing circle</translation>
    </message>
    <message>
        <source>sd / mean x 100 of related circumscribing circle over the class&apos;s patches; NA when any is NA</source>
        <translation>sd / mean x 100 of related circumscribing circle over the class&apos;s patches; NA when any is NA</translation>
    </message>
    <message>
        <source>mean of related circumscribing circle</source>
        <translation>mean of related circumscribing circle</translation>
    </message>
    <message>
        <source>mean of related circumscribing circle over the class&apos;s patches; NA when any is NA</source>
        <translation>mean of related circumscribing circle over the class&apos;s patches; NA when any is NA</translation>
    </message>
    <message>
        <source>standard deviation of related circumscribing circle</source>
        <translation>standard deviation of related circumscribing circle</translation>
    </message>
    <message>
        <source>sample standard deviation (n - 1) of related circumscribing circle over the class&apos;s patches; NA when any is NA</source>
        <translation>sample standard deviation (n - 1) of related circumscribing circle over the class&apos;s patches; NA when any is NA</translation>
    </message>
    <message>
        <source>coefficient of variation of contiguity index</source>
        <translation>coefficient of variation of contiguity index</translation>
    </message>
    <message>
        <source>sd / mean x 100 of contiguity index over the class&apos;s patches; NA when any is NA</source>
        <translation>sd / mean x 100 of contiguity index over the class&apos;s patches; NA when any is NA</translation>
    </message>
    <message>
        <source>mean of contiguity index</source>
        <translation>mean of contiguity index</translation>
    </message>
    <message>
        <source>mean of contiguity index over the class&apos;s patches; NA when any is NA</source>
        <translation>mean of contiguity index over the class&apos;s patches; NA when any is NA</translation>
    </message>
    <message>
        <source>standard deviation of contiguity index</source>
        <translation>standard deviation of contiguity index</translation>
    </message>
    <message>
        <source>sample standard deviation (n - 1) of contiguity index over the class&apos;s patches; NA when any is NA</source>
        <translation>sample standard deviation (n - 1) of contiguity index over the class&apos;s patches; NA when any is NA</translation>
    </message>
    <message>
        <source>coefficient of variation of core area</source>
        <translation>coefficient of variation of core area</translation>
    </message>
    <message>
        <source>sd / mean x 100 of core area over the class&apos;s patches; NA when any is NA</source>
        <translation>sd / mean x 100 of core area over the class&apos;s patches; NA when any is NA</translation>
    </message>
    <message>
        <source>mean of core area</source>
        <translation>mean of core area</translation>
    </message>
    <message>
        <source>mean of core area over the class&apos;s patches; NA when any is NA</source>
        <translation>mean of core area over the class&apos;s patches; NA when any is NA</translation>
    </message>
    <message>
        <source>standard deviation of core area</source>
        <translation>standard deviation of core area</translation>
    </message>
    <message>
        <source>sample standard deviation (n - 1) of core area over the class&apos;s patches; NA when any is NA</source>
        <translation>sample standard deviation (n - 1) of core area over the class&apos;s patches; NA when any is NA</translation>
    </message>
    <message>
        <source>core area percentage of landscape</source>
        <translation>core area percentage of landscape</translation>
    </message>
    <message>
        <source>core cells of the class / cells of the landscape x 100</source>
        <translation>core cells of the class / cells of the landscape x 100</translation>
    </message>
    <message>
        <source>disjunct core area density</source>
        <translation>disjunct core area density</translation>
    </message>
    <message>
        <source>ndca / landscape area (ha) x 100</source>
        <translation>ndca / landscape area (ha) x 100</translation>
    </message>
    <message>
        <source>coefficient of variation of number of disjunct core areas per patch</source>
        <translation>coefficient of variation of number of disjunct core areas per patch</translation>
    </message>
    <message>
        <source>sd / mean x 100 of number of disjunct core areas per patch over the class&apos;s patches; NA when any is NA</source>
        <translation>sd / mean x 100 of number of disjunct core areas per patch over the class&apos;s patches; NA when any is NA</translation>
    </message>
    <message>
        <source>mean of number of disjunct core areas per patch</source>
        <translation>mean of number of disjunct core areas per patch</translation>
    </message>
    <message>
        <source>mean of number of disjunct core areas per patch over the class&apos;s patches; NA when any is NA</source>
        <translation>mean of number of disjunct core areas per patch over the class&apos;s patches; NA when any is NA</translation>
    </message>
    <message>
        <source>standard deviation of number of disjunct core areas per patch</source>
        <translation>standard deviation of number of disjunct core areas per patch</translation>
    </message>
    <message>
        <source>sample standard deviation (n - 1) of number of disjunct core areas per patch over the class&apos;s patches; NA when any is NA</source>
        <translation>sample standard deviation (n - 1) of number of disjunct core areas per patch over the class&apos;s patches; NA when any is NA</translation>
    </message>
    <message>
        <source>coefficient of variation of Euclidean nearest-neighbour distance</source>
        <translation>coefficient of variation of Euclidean nearest-neighbour distance</translation>
    </message>
    <message>
        <source>sd / mean x 100 of Euclidean nearest-neighbour distance over the class&apos;s patches; NA when any is NA</source>
        <translation>sd / mean x 100 of Euclidean nearest-neighbour distance over the class&apos;s patches; NA when any is NA</translation>
    </message>
    <message>
        <source>standard deviation of Euclidean nearest-neighbour distance</source>
        <translation>standard deviation of Euclidean nearest-neighbour distance</translation>
    </message>
    <message>
        <source>sample standard deviation (n - 1) of Euclidean nearest-neighbour distance over the class&apos;s patches; NA when any is NA</source>
        <translation>sample standard deviation (n - 1) of Euclidean nearest-neighbour distance over the class&apos;s patches; NA when any is NA</translation>
    </message>
    <message>
        <source>coefficient of variation of fractal dimension index</source>
        <translation>coefficient of variation of fractal dimension index</translation>
    </message>
    <message>
        <source>sd / mean x 100 of fractal dimension index over the class&apos;s patches; NA when any is NA</source>
        <translation>sd / mean x 100 of fractal dimension index over the class&apos;s patches; NA when any is NA</translation>
    </message>
    <message>
        <source>mean of fractal dimension index</source>
        <translation>mean of fractal dimension index</translation>
    </message>
    <message>
        <source>mean of fractal dimension index over the class&apos;s patches; NA when any is NA</source>
        <translation>mean of fractal dimension index over the class&apos;s patches; NA when any is NA</translation>
    </message>
    <message>
        <source>standard deviation of fractal dimension index</source>
        <translation>standard deviation of fractal dimension index</translation>
    </message>
    <message>
        <source>sample standard deviation (n - 1) of fractal dimension index over the class&apos;s patches; NA when any is NA</source>
        <translation>sample standard deviation (n - 1) of fractal dimension index over the class&apos;s patches; NA when any is NA</translation>
    </message>
    <message>
        <source>coefficient of variation of radius of gyration</source>
        <translation>coefficient of variation of radius of gyration</translation>
    </message>
    <message>
        <source>sd / mean x 100 of radius of gyration over the class&apos;s patches; NA when any is NA</source>
        <translation>sd / mean x 100 of radius of gyration over the class&apos;s patches; NA when any is NA</translation>
    </message>
    <message>
        <source>mean of radius of gyration</source>
        <translation>mean of radius of gyration</translation>
    </message>
    <message>
        <source>mean of radius of gyration over the class&apos;s patches; NA when any is NA</source>
        <translation>mean of radius of gyration over the class&apos;s patches; NA when any is NA</translation>
    </message>
    <message>
        <source>standard deviation of radius of gyration</source>
        <translation>standard deviation of radius of gyration</translation>
    </message>
    <message>
        <source>sample standard deviation (n - 1) of radius of gyration over the class&apos;s patches; NA when any is NA</source>
        <translation>sample standard deviation (n - 1) of radius of gyration over the class&apos;s patches; NA when any is NA</translation>
    </message>
    <message>
        <source>interspersion and juxtaposition index</source>
        <translation>interspersion and juxtaposition index</translation>
    </message>
    <message>
        <source>evenness of the class&apos;s sides among the other classes: -sum e ln e / ln(m - 1) x 100, e the shares of its sides facing each other class; NA with fewer than 3 classes</source>
        <translation>evenness of the class&apos;s sides among the other classes: -sum e ln e / ln(m - 1) x 100, e the shares of its sides facing each other class; NA with fewer than 3 classes</translation>
    </message>
    <message>
        <source>landscape shape index</source>
        <translation>landscape shape index</translation>
    </message>
    <message>
        <source>sides of the class&apos;s outline (other classes, the map&apos;s edge, no-data) / shortest perimeter of as many cells</source>
        <translation>sides of the class&apos;s outline (other classes, the map&apos;s edge, no-data) / shortest perimeter of as many cells</translation>
    </message>
    <message>
        <source>number of disjunct core areas</source>
        <translation>number of disjunct core areas</translation>
    </message>
    <message>
        <source>disjunct core areas of the class&apos;s patches</source>
        <translation>disjunct core areas of the class&apos;s patches</translation>
    </message>
    <message>
        <source>normalized landscape shape index</source>
        <translation>normalized landscape shape index</translation>
    </message>
    <message>
        <source>(outline - shortest) / (longest - shortest outline as many cells can have in this landscape); NA when undefined</source>
        <translation>(outline - shortest) / (longest - shortest outline as many cells can have in this landscape); NA when undefined</translation>
    </message>
    <message>
        <source>perimeter-area fractal dimension</source>
        <translation>perimeter-area fractal dimension</translation>
    </message>
    <message>
        <source>2 / slope of ln(area) regressed on ln(perimeter) over the class&apos;s patches; NA below 10 patches</source>
        <translation>2 / slope of ln(area) regressed on ln(perimeter) over the class&apos;s patches; NA below 10 patches</translation>
    </message>
    <message>
        <source>coefficient of variation of perimeter-area ratio</source>
        <translation>coefficient of variation of perimeter-area ratio</translation>
    </message>
    <message>
        <source>sd / mean x 100 of perimeter-area ratio over the class&apos;s patches; NA when any is NA</source>
        <translation>sd / mean x 100 of perimeter-area ratio over the class&apos;s patches; NA when any is NA</translation>
    </message>
    <message>
        <source>mean of perimeter-area ratio</source>
        <translation>mean of perimeter-area ratio</translation>
    </message>
    <message>
        <source>mean of perimeter-area ratio over the class&apos;s patches; NA when any is NA</source>
        <translation>mean of perimeter-area ratio over the class&apos;s patches; NA when any is NA</translation>
    </message>
    <message>
        <source>standard deviation of perimeter-area ratio</source>
        <translation>standard deviation of perimeter-area ratio</translation>
    </message>
    <message>
        <source>sample standard deviation (n - 1) of perimeter-area ratio over the class&apos;s patches; NA when any is NA</source>
        <translation>sample standard deviation (n - 1) of perimeter-area ratio over the class&apos;s patches; NA when any is NA</translation>
    </message>
    <message>
        <source>percentage of like adjacencies</source>
        <translation>percentage of like adjacencies</translation>
    </message>
    <message>
        <source>like sides counted both ways / all sides of the class&apos;s cells (the map&apos;s edge and no-data included) x 100</source>
        <translation>like sides counted both ways / all sides of the class&apos;s cells (the map&apos;s edge and no-data included) x 100</translation>
    </message>
    <message>
        <source>coefficient of variation of shape index</source>
        <translation>coefficient of variation of shape index</translation>
    </message>
    <message>
        <source>sd / mean x 100 of shape index over the class&apos;s patches; NA when any is NA</source>
        <translation>sd / mean x 100 of shape index over the class&apos;s patches; NA when any is NA</translation>
    </message>
    <message>
        <source>mean of shape index</source>
        <translation>mean of shape index</translation>
    </message>
    <message>
        <source>mean of shape index over the class&apos;s patches; NA when any is NA</source>
        <translation>mean of shape index over the class&apos;s patches; NA when any is NA</translation>
    </message>
    <message>
        <source>standard deviation of shape index</source>
        <translation>standard deviation of shape index</translation>
    </message>
    <message>
        <source>sample standard deviation (n - 1) of shape index over the class&apos;s patches; NA when any is NA</source>
        <translation>sample standard deviation (n - 1) of shape index over the class&apos;s patches; NA when any is NA</translation>
    </message>
    <message>
        <source>total core area</source>
        <translation>total core area</translation>
    </message>
    <message>
        <source>core cells of the class&apos;s patches x cell area</source>
        <translation>core cells of the class&apos;s patches x cell area</translation>
    </message>
    <message>
        <source>total edge</source>
        <translation>total edge</translation>
    </message>
    <message>
        <source>sides between the class and other classes x cell side (with --count-boundary also those on the map&apos;s edge and facing no-data)</source>
        <translation>sides between the class and other classes x cell side (with --count-boundary also those on the map&apos;s edge and facing no-data)</translation>
    </message>
    <message>
        <source>total area</source>
        <translation>total area</translation>
    </message>
    <message>
        <source>cells of the landscape x cell area</source>
        <translation>cells of the landscape x cell area</translation>
    </message>
    <message>
        <source>patches of every class</source>
        <translation>patches of every class</translation>
    </message>
    <message>
        <source>patches / landscape area (ha) x 100</source>
        <translation>patches / landscape area (ha) x 100</translation>
    </message>
    <message>
        <source>cells of the largest patch / cells of the landscape x 100</source>
        <translation>cells of the largest patch / cells of the landscape x 100</translation>
    </message>
    <message>
        <source>contagion</source>
        <translation>contagion</translation>
    </message>
    <message>
        <source>(1 + sum g ln g / (2 ln m)) x 100, g the shares of the adjacency matrix (sides counted both ways, like sides on the diagonal, neither the map&apos;s edge nor no-data); NA with fewer than 2 classes</source>
        <translation>(1 + sum g ln g / (2 ln m)) x 100, g the shares of the adjacency matrix (sides counted both ways, like sides on the diagonal, neither the map&apos;s edge nor no-data); NA with fewer than 2 classes</translation>
    </message>
    <message>
        <source>Shannon&apos;s diversity index</source>
        <translation>Shannon&apos;s diversity index</translation>
    </message>
    <message>
        <source>-sum p ln p over the classes&apos; shares</source>
        <translation>-sum p ln p over the classes&apos; shares</translation>
    </message>
    <message>
        <source>sum of the classes&apos; ai x their shares (a class with NA adds 0)</source>
        <translation>sum of the classes&apos; ai x their shares (a class with NA adds 0)</translation>
    </message>
    <message>
        <source>sd / mean x 100 of patch area over all patches; NA when any is NA</source>
        <translation>sd / mean x 100 of patch area over all patches; NA when any is NA</translation>
    </message>
    <message>
        <source>mean of patch area over all patches; NA when any is NA</source>
        <translation>mean of patch area over all patches; NA when any is NA</translation>
    </message>
    <message>
        <source>sample standard deviation (n - 1) of patch area over all patches; NA when any is NA</source>
        <translation>sample standard deviation (n - 1) of patch area over all patches; NA when any is NA</translation>
    </message>
    <message>
        <source>sd / mean x 100 of core area index over all patches; NA when any is NA</source>
        <translation>sd / mean x 100 of core area index over all patches; NA when any is NA</translation>
    </message>
    <message>
        <source>mean of core area index over all patches; NA when any is NA</source>
        <translation>mean of core area index over all patches; NA when any is NA</translation>
    </message>
    <message>
        <source>sample standard deviation (n - 1) of core area index over all patches; NA when any is NA</source>
        <translation>sample standard deviation (n - 1) of core area index over all patches; NA when any is NA</translation>
    </message>
    <message>
        <source>sd / mean x 100 of related circumscribing circle over all patches; NA when any is NA</source>
        <translation>sd / mean x 100 of related circumscribing circle over all patches; NA when any is NA</translation>
    </message>
    <message>
        <source>mean of related circumscribing circle over all patches; NA when any is NA</source>
        <translation>mean of related circumscribing circle over all patches; NA when any is NA</translation>
    </message>
    <message>
        <source>sample standard deviation (n - 1) of related circumscribing circle over all patches; NA when any is NA</source>
        <translation>sample standard deviation (n - 1) of related circumscribing circle over all patches; NA when any is NA</translation>
    </message>
    <message>
        <source>cohesion over every patch</source>
        <translation>cohesion over every patch</translation>
    </message>
    <message>
        <source>conditional entropy</source>
        <translation>conditional entropy</translation>
    </message>
    <message>
        <source>bits (--base)</source>
        <translation>bits (--base)</translation>
    </message>
    <message>
        <source>joint entropy - marginal entropy</source>
        <translation>joint entropy - marginal entropy</translation>
    </message>
    <message>
        <source>sd / mean x 100 of contiguity index over all patches; NA when any is NA</source>
        <translation>sd / mean x 100 of contiguity index over all patches; NA when any is NA</translation>
    </message>
    <message>
        <source>mean of contiguity index over all patches; NA when any is NA</source>
        <translation>mean of contiguity index over all patches; NA when any is NA</translation>
    </message>
    <message>
        <source>sample standard deviation (n - 1) of contiguity index over all patches; NA when any is NA</source>
        <translation>sample standard deviation (n - 1) of contiguity index over all patches; NA when any is NA</translation>
    </message>
    <message>
        <source>sd / mean x 100 of core area over all patches; NA when any is NA</source>
        <translation>sd / mean x 100 of core area over all patches; NA when any is NA</translation>
    </message>
    <message>
        <source>mean of core area over all patches; NA when any is NA</source>
        <translation>mean of core area over all patches; NA when any is NA</translation>
    </message>
    <message>
        <source>sample standard deviation (n - 1) of core area over all patches; NA when any is NA</source>
        <translation>sample standard deviation (n - 1) of core area over all patches; NA when any is NA</translation>
    </message>
    <message>
        <source>sd / mean x 100 of number of disjunct core areas per patch over all patches; NA when any is NA</source>
        <translation>sd / mean x 100 of number of disjunct core areas per patch over all patches; NA when any is NA</translation>
    </message>
    <message>
        <source>mean of number of disjunct core areas per patch over all patches; NA when any is NA</source>
        <translation>mean of number of disjunct core areas per patch over all patches; NA when any is NA</translation>
    </message>
    <message>
        <source>sample standard deviation (n - 1) of number of disjunct core areas per patch over all patches; NA when any is NA</source>
        <translation>sample standard deviation (n - 1) of number of disjunct core areas per patch over all patches; NA when any is NA</translation>
    </message>
    <message>
        <source>sd / mean x 100 of Euclidean nearest-neighbour distance over all patches; NA when any is NA</source>
        <translation>sd / mean x 100 of Euclidean nearest-neighbour distance over all patches; NA when any is NA</translation>
    </message>
    <message>
        <source>mean of Euclidean nearest-neighbour distance over all patches; NA when any is NA</source>
        <translation>mean of Euclidean nearest-neighbour distance over all patches; NA when any is NA</translation>
    </message>
    <message>
        <source>sample standard deviation (n - 1) of Euclidean nearest-neighbour distance over all patches; NA when any is NA</source>
        <translation>sample standard deviation (n - 1) of Euclidean nearest-neighbour distance over all patches; NA when any is NA</translation>
    </message>
    <message>
        <source>marginal entropy</source>
        <translation>marginal entropy</translation>
    </message>
    <message>
        <source>entropy of the adjacency matrix&apos;s column sums (sides counted both ways, neither the map&apos;s edge nor no-data)</source>
        <translation>entropy of the adjacency matrix&apos;s column sums (sides counted both ways, neither the map&apos;s edge nor no-data)</translation>
    </message>
    <message>
        <source>sd / mean x 100 of fractal dimension index over all patches; NA when any is NA</source>
        <translation>sd / mean x 100 of fractal dimension index over all patches; NA when any is NA</translation>
    </message>
    <message>
        <source>mean of fractal dimension index over all patches; NA when any is NA</source>
        <translation>mean of fractal dimension index over all patches; NA when any is NA</translation>
    </message>
    <message>
        <source>sample standard deviation (n - 1) of fractal dimension index over all patches; NA when any is NA</source>
        <translation>sample standard deviation (n - 1) of fractal dimension index over all patches; NA when any is NA</translation>
    </message>
    <message>
        <source>sd / mean x 100 of radius of gyration over all patches; NA when any is NA</source>
        <translation>sd / mean x 100 of radius of gyration over all patches; NA when any is NA</translation>
    </message>
    <message>
        <source>mean of radius of gyration over all patches; NA when any is NA</source>
        <translation>mean of radius of gyration over all patches; NA when any is NA</translation>
    </message>
    <message>
        <source>sample standard deviation (n - 1) of radius of gyration over all patches; NA when any is NA</source>
        <translation>sample standard deviation (n - 1) of radius of gyration over all patches; NA when any is NA</translation>
    </message>
    <message>
        <source>evenness of the sides between classes among the pairs of classes: -sum e ln e / ln(m (m - 1) / 2) x 100; NA with fewer than 3 classes</source>
        <translation>evenness of the sides between classes among the pairs of classes: -sum e ln e / ln(m (m - 1) / 2) x 100; NA with fewer than 3 classes</translation>
    </message>
    <message>
        <source>joint entropy</source>
        <translation>joint entropy</translation>
    </message>
    <message>
        <source>entropy of the adjacency matrix&apos;s entries</source>
        <translation>entropy of the adjacency matrix&apos;s entries</translation>
    </message>
    <message>
        <source>sides between classes, on the map&apos;s edge and facing no-data / shortest perimeter of the landscape&apos;s cells</source>
        <translation>sides between classes, on the map&apos;s edge and facing no-data / shortest perimeter of the landscape&apos;s cells</translation>
    </message>
    <message>
        <source>modified Simpson&apos;s diversity index</source>
        <translation>modified Simpson&apos;s diversity index</translation>
    </message>
    <message>
        <source>-ln sum p²</source>
        <translation>-ln sum p²</translation>
    </message>
    <message>
        <source>modified Simpson&apos;s evenness index</source>
        <translation>modified Simpson&apos;s evenness index</translation>
    </message>
    <message>
        <source>msidi / ln m; NA with one class</source>
        <translation>msidi / ln m; NA with one class</translation>
    </message>
    <message>
        <source>mutual information</source>
        <translation>mutual information</translation>
    </message>
    <message>
        <source>marginal entropy - conditional entropy</source>
        <translation>marginal entropy - conditional entropy</translation>
    </message>
    <message>
        <source>disjunct core areas of every patch</source>
        <translation>disjunct core areas of every patch</translation>
    </message>
    <message>
        <source>2 / slope of ln(area) regressed on ln(perimeter) over every patch; NA below 10 patches</source>
        <translation>2 / slope of ln(area) regressed on ln(perimeter) over every patch; NA below 10 patches</translation>
    </message>
    <message>
        <source>sd / mean x 100 of perimeter-area ratio over all patches; NA when any is NA</source>
        <translation>sd / mean x 100 of perimeter-area ratio over all patches; NA when any is NA</translation>
    </message>
    <message>
        <source>mean of perimeter-area ratio over all patches; NA when any is NA</source>
        <translation>mean of perimeter-area ratio over all patches; NA when any is NA</translation>
    </message>
    <message>
        <source>sample standard deviation (n - 1) of perimeter-area ratio over all patches; NA when any is NA</source>
        <translation>sample standard deviation (n - 1) of perimeter-area ratio over all patches; NA when any is NA</translation>
    </message>
    <message>
        <source>like sides / all sides (like sides and sides between classes counted both ways, the map&apos;s edge once; no-data left out) x 100</source>
        <translation>like sides / all sides (like sides and sides between classes counted both ways, the map&apos;s edge once; no-data left out) x 100</translation>
    </message>
    <message>
        <source>patch richness</source>
        <translation>patch richness</translation>
    </message>
    <message>
        <source>classes present</source>
        <translation>classes present</translation>
    </message>
    <message>
        <source>patch richness density</source>
        <translation>patch richness density</translation>
    </message>
    <message>
        <source>classes / landscape area (ha) x 100</source>
        <translation>classes / landscape area (ha) x 100</translation>
    </message>
    <message>
        <source>relative mutual information</source>
        <translation>relative mutual information</translation>
    </message>
    <message>
        <source>mutual information / marginal entropy; 1 when the mutual information is 0</source>
        <translation>mutual information / marginal entropy; 1 when the mutual information is 0</translation>
    </message>
    <message>
        <source>relative patch richness</source>
        <translation>relative patch richness</translation>
    </message>
    <message>
        <source>classes / --classes-max x 100; NA without --classes-max</source>
        <translation>classes / --classes-max x 100; NA without --classes-max</translation>
    </message>
    <message>
        <source>sd / mean x 100 of shape index over all patches; NA when any is NA</source>
        <translation>sd / mean x 100 of shape index over all patches; NA when any is NA</translation>
    </message>
    <message>
        <source>mean of shape index over all patches; NA when any is NA</source>
        <translation>mean of shape index over all patches; NA when any is NA</translation>
    </message>
    <message>
        <source>sample standard deviation (n - 1) of shape index over all patches; NA when any is NA</source>
        <translation>sample standard deviation (n - 1) of shape index over all patches; NA when any is NA</translation>
    </message>
    <message>
        <source>Shannon&apos;s evenness index</source>
        <translation>Shannon&apos;s evenness index</translation>
    </message>
    <message>
        <source>shdi / ln m; 0 with one class</source>
        <translation>shdi / ln m; 0 with one class</translation>
    </message>
    <message>
        <source>Simpson&apos;s diversity index</source>
        <translation>Simpson&apos;s diversity index</translation>
    </message>
    <message>
        <source>1 - sum p² over the classes&apos; shares</source>
        <translation>1 - sum p² over the classes&apos; shares</translation>
    </message>
    <message>
        <source>Simpson&apos;s evenness index</source>
        <translation>Simpson&apos;s evenness index</translation>
    </message>
    <message>
        <source>sidi / (1 - 1 / m); NA with one class</source>
        <translation>sidi / (1 - 1 / m); NA with one class</translation>
    </message>
    <message>
        <source>core cells of every patch x cell area</source>
        <translation>core cells of every patch x cell area</translation>
    </message>
    <message>
        <source>sides between different classes x cell side (with --count-boundary also those on the map&apos;s edge and facing no-data)</source>
        <translation>sides between different classes x cell side (with --count-boundary also those on the map&apos;s edge and facing no-data)</translation>
    </message>
</context>
<context>
    <name>orvalis::models</name>
    <message>
        <source>spatially random</source>
        <translation>spatially random</translation>
    </message>
    <message>
        <source>midpoint displacement</source>
        <translation>midpoint displacement</translation>
    </message>
    <message>
        <source>Hurst exponent: higher is smoother</source>
        <translation>Hurst exponent: higher is smoother</translation>
    </message>
    <message>
        <source>fractional Brownian motion (spectral synthesis)</source>
        <translation>fractional Brownian motion (spectral synthesis)</translation>
    </message>
    <message>
        <source>Gaussian random field (Matern covariance)</source>
        <translation>Gaussian random field (Matern covariance)</translation>
    </message>
    <message>
        <source>autocorrelation range in cells</source>
        <translation>autocorrelation range in cells</translation>
    </message>
    <message>
        <source>Matern smoothness nu: 0.5 exponential, large values Gaussian</source>
        <translation>Matern smoothness nu: 0.5 exponential, large values Gaussian</translation>
    </message>
    <message>
        <source>random cluster nearest-neighbour</source>
        <translation>random cluster nearest-neighbour</translation>
    </message>
    <message>
        <source>share of cells that form the clusters</source>
        <translation>share of cells that form the clusters</translation>
    </message>
    <message>
        <source>cluster rule: 4, 8 or NLMpy&apos;s diagonal structure [0 1 1; 1 1 1; 1 1 0]</source>
        <translation>cluster rule: 4, 8 or NLMpy&apos;s diagonal structure [0 1 1; 1 1 1; 1 1 0]</translation>
    </message>
    <message>
        <source>random element nearest-neighbour</source>
        <translation>random element nearest-neighbour</translation>
    </message>
    <message>
        <source>number of seed cells, at most the cell count</source>
        <translation>number of seed cells, at most the cell count</translation>
    </message>
    <message>
        <source>planar gradient</source>
        <translation>planar gradient</translation>
    </message>
    <message>
        <source>bearing of the gradient in degrees from north</source>
        <translation>bearing of the gradient in degrees from north</translation>
    </message>
    <message>
        <source>edge gradient</source>
        <translation>edge gradient</translation>
    </message>
    <message>
        <source>distance gradient</source>
        <translation>distance gradient</translation>
    </message>
    <message>
        <source>number of random source cells, at most the cell count</source>
        <translation>number of random source cells, at most the cell count</translation>
    </message>
    <message>
        <source>grid of the landscape&apos;s size whose cells other than 0 and no-data are the sources; replaces n</source>
        <translation>grid of the landscape&apos;s size whose cells other than 0 and no-data are the sources; replaces n</translation>
    </message>
    <message>
        <source>wave surface</source>
        <translation>wave surface</translation>
    </message>
    <message>
        <source>complete waves (crest and trough) along the direction</source>
        <translation>complete waves (crest and trough) along the direction</translation>
    </message>
    <message>
        <source>random rectangular cluster</source>
        <translation>random rectangular cluster</translation>
    </message>
    <message>
        <source>shortest side in cells</source>
        <translation>shortest side in cells</translation>
    </message>
    <message>
        <source>longest side in cells</source>
        <translation>longest side in cells</translation>
    </message>
    <message>
        <source>random curdling</source>
        <translation>random curdling</translation>
    </message>
    <message>
        <source>share of the still whole blocks cut at each level, separated by &apos;/&apos;</source>
        <translation>share of the still whole blocks cut at each level, separated by &apos;/&apos;</translation>
    </message>
    <message>
        <source>blocks a side each block is split into at each level, by &apos;/&apos;</source>
        <translation>blocks a side each block is split into at each level, by &apos;/&apos;</translation>
    </message>
    <message>
        <source>percolation map</source>
        <translation>percolation map</translation>
    </message>
    <message>
        <source>probability of a habitat cell</source>
        <translation>probability of a habitat cell</translation>
    </message>
    <message>
        <source>random tessellation (Voronoi mosaic)</source>
        <translation>random tessellation (Voronoi mosaic)</translation>
    </message>
    <message>
        <source>number of points (tiles)</source>
        <translation>number of points (tiles)</translation>
    </message>
    <message>
        <source>neighbourhood clustering</source>
        <translation>neighbourhood clustering</translation>
    </message>
    <message>
        <source>probability for a cell beside a filled one</source>
        <translation>probability for a cell beside a filled one</translation>
    </message>
    <message>
        <source>probability for a cell with no filled neighbour</source>
        <translation>probability for a cell with no filled neighbour</translation>
    </message>
    <message>
        <source>number of categories</source>
        <translation>number of categories</translation>
    </message>
    <message>
        <source>cells that count as beside</source>
        <translation>cells that count as beside</translation>
    </message>
    <message>
        <source>Perlin noise</source>
        <translation>Perlin noise</translation>
    </message>
    <message>
        <source>periods of the first octave across the longer side</source>
        <translation>periods of the first octave across the longer side</translation>
    </message>
    <message>
        <source>number of octaves</source>
        <translation>number of octaves</translation>
    </message>
    <message>
        <source>period growth per octave</source>
        <translation>period growth per octave</translation>
    </message>
    <message>
        <source>amplitude factor per octave</source>
        <translation>amplitude factor per octave</translation>
    </message>
    <message>
        <source>binary space partitioning</source>
        <translation>binary space partitioning</translation>
    </message>
    <message>
        <source>number of rectangles, at most the cell count</source>
        <translation>number of rectangles, at most the cell count</translation>
    </message>
    <message>
        <source>which way leaves are halved</source>
        <translation>which way leaves are halved</translation>
    </message>
    <message>
        <source>largest length to width ratio (not for longest)</source>
        <translation>largest length to width ratio (not for longest)</translation>
    </message>
</context>
<context>
    <name>setings</name>
    <message>
        <source>Settings</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Sample name</source>
        <translation>Sample name</translation>
    </message>
    <message>
        <source>SMP_</source>
        <translation>SMP_</translation>
    </message>
    <message>
        <source>Sample post-string</source>
        <translation>Sample post-string</translation>
    </message>
    <message>
        <source>Cover value </source>
        <translation>Cover value</translation>
    </message>
    <message>
        <source>Matrix value</source>
        <translation>Matrix value</translation>
    </message>
    <message>
        <source>Random seed</source>
        <translation>Random seed</translation>
    </message>
    <message>
        <source>Starts the name of every window file a sampling run writes, and of its batch list (NAMEListFragStat.fbt)</source>
        <translation>Starts the name of every window file a sampling run writes, and of its batch list (NAMEListFragStat.fbt)</translation>
    </message>
    <message>
        <source>Added after each file name in the FRAGSTATS batch list</source>
        <translation>Added after each file name in the FRAGSTATS batch list</translation>
    </message>
    <message>
        <source>The class value written for habitat cells in landscape files</source>
        <translation>The class value written for habitat cells in landscape files</translation>
    </message>
    <message>
        <source>The class value written for matrix (non-habitat) cells in landscape files</source>
        <translation>The class value written for matrix (non-habitat) cells in landscape files</translation>
    </message>
    <message>
        <source>Seed of the random landscapes: the same seed and settings give the same files</source>
        <translation>Seed of the random landscapes: the same seed and settings give the same files</translation>
    </message>
</context>
<context>
    <name>texts::detail</name>
    <message>
        <source>Calculando...</source>
        <translation>Calculating…</translation>
    </message>
    <message>
        <source>Tempo de busca total...</source>
        <translation>Total search time…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Choose file(s) do open</source>
        <translation>Choose files to open</translation>
    </message>
    <message>
        <source>Sampling: no folder was chosen for the window files, nothing was written.</source>
        <translation>Sampling: no folder was chosen for the window files, nothing was written.</translation>
    </message>
    <message>
        <source>no image file was chosen</source>
        <translation>no image file was chosen</translation>
    </message>
    <message>
        <source>the file does not exist</source>
        <translation>the file does not exist</translation>
    </message>
    <message>
        <source>it is not a plain file (a pipe or a device would block the window)</source>
        <translation>it is not a plain file (a pipe or a device would block the window)</translation>
    </message>
    <message>
        <source>it is not a readable uncompressed 24- or 32-bit TGA image</source>
        <translation>it is not a readable uncompressed 24- or 32-bit TGA image</translation>
    </message>
    <message>
        <source>Não foi possivel carregar a imagem &quot;%1&quot;: %2.</source>
        <translation>The image &quot;%1&quot; could not be loaded: %2.</translation>
    </message>
    <message>
        <source>Sampling: %1%2</source>
        <translation>Sampling: %1%2</translation>
    </message>
    <message>
        <source>Sampling went on, but: %1.</source>
        <translation>Sampling went on, but: %1.</translation>
    </message>
    <message numerus="yes">
        <source>Sampling stopped after %n window(s): %1.</source>
        <translation>
            <numerusform>Sampling stopped after %n window: %1.</numerusform>
            <numerusform>Sampling stopped after %n windows: %1.</numerusform>
        </translation>
    </message>
    <message>
        <source>Random landscapes: no folder was chosen, nothing was written.</source>
        <translation>Random landscapes: no folder was chosen, nothing was written.</translation>
    </message>
    <message>
        <source>Random landscapes: %1</source>
        <translation>Random landscapes: %1</translation>
    </message>
    <message>
        <source>Fractal landscapes: no folder was chosen, nothing was written.</source>
        <translation>Fractal landscapes: no folder was chosen, nothing was written.</translation>
    </message>
    <message>
        <source>Fractal landscapes: the folder %1 does not exist, nothing was written.</source>
        <translation>Fractal landscapes: the folder %1 does not exist, nothing was written.</translation>
    </message>
    <message>
        <source>Fractal landscapes: %1; nothing was written.</source>
        <translation>Fractal landscapes: %1; nothing was written.</translation>
    </message>
    <message>
        <source>Fractal landscapes: %1</source>
        <translation>Fractal landscapes: %1</translation>
    </message>
    <message>
        <source>Sample</source>
        <translation>Sample</translation>
    </message>
    <message>
        <source>Random landscapes</source>
        <translation>Random landscapes</translation>
    </message>
    <message>
        <source>Fractal landscapes</source>
        <translation>Fractal landscapes</translation>
    </message>
    <message>
        <source>%1: %2.</source>
        <translation>%1: %2.</translation>
    </message>
    <message>
        <source>Nothing was written. %1</source>
        <translation>Nothing was written. %1</translation>
    </message>
    <message>
        <source>%1 is not drawn: %2</source>
        <translation>%1 is not drawn: %2</translation>
    </message>
    <message>
        <source>%1 is not drawn: it holds no grid lines</source>
        <translation>%1 is not drawn: it holds no grid lines</translation>
    </message>
    <message>
        <source>%1 (matrix)</source>
        <translation>%1 (matrix)</translation>
    </message>
    <message>
        <source>%1 (cover)</source>
        <translation>%1 (cover)</translation>
    </message>
    <message>
        <source>other values</source>
        <translation>other values</translation>
    </message>
    <message>
        <source>no data (%1)</source>
        <translation>no data (%1)</translation>
    </message>
    <message>
        <source>%1: %2 %</source>
        <translation>%1: %2 %</translation>
    </message>
    <message>
        <source>%1 rows × %2 columns</source>
        <translation>%1 rows × %2 columns</translation>
    </message>
    <message>
        <source>cover (%1): %2 %</source>
        <translation>cover (%1): %2 %</translation>
    </message>
    <message>
        <source>row %1, column %2: %3</source>
        <translation>row %1, column %2: %3</translation>
    </message>
    <message>
        <source>Wheel or + and - to zoom, drag to pan, 0 to fit</source>
        <translation>Wheel or + and - to zoom, drag to pan, 0 to fit</translation>
    </message>
    <message>
        <source>Landscape files (*.txt *.asc *.tif);;Images and GIS rasters (*.tga *.tif *.tiff *.img *.asc *.vrt *.nc *.gpkg);;All files (*)</source>
        <translation>Landscape files (*.txt *.asc *.tif);;Images and GIS rasters (*.tga *.tif *.tiff *.img *.asc *.vrt *.nc *.gpkg);;All files (*)</translation>
    </message>
    <message>
        <source>Reveal in folder</source>
        <translation>Reveal in folder</translation>
    </message>
    <message>
        <source>Remove from list</source>
        <translation>Remove from list</translation>
    </message>
    <message>
        <source>Export picture</source>
        <translation>Export picture</translation>
    </message>
    <message>
        <source>PNG picture as shown (*.png)</source>
        <translation>PNG picture as shown (*.png)</translation>
    </message>
    <message>
        <source>PNG picture, one pixel a cell (*.png)</source>
        <translation>PNG picture, one pixel a cell (*.png)</translation>
    </message>
    <message>
        <source>SVG picture as shown (*.svg)</source>
        <translation>SVG picture as shown (*.svg)</translation>
    </message>
    <message>
        <source>SVG picture, one pixel a cell (*.svg)</source>
        <translation>SVG picture, one pixel a cell (*.svg)</translation>
    </message>
    <message>
        <source>There is no picture to export: select a file first.</source>
        <translation>There is no picture to export: select a file first.</translation>
    </message>
    <message>
        <source>The picture could not be written to %1.</source>
        <translation>The picture could not be written to %1.</translation>
    </message>
    <message>
        <source>Picture written to %1.</source>
        <translation>Picture written to %1.</translation>
    </message>
    <message>
        <source>About Orvalis</source>
        <translation>About Orvalis</translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;b&gt;Orvalis %1&lt;/b&gt;&lt;/p&gt;&lt;p&gt;A desktop tool for landscape ecologists: samples habitat windows from landscape images and land-cover maps, draws neutral landscapes and measures them.&lt;/p&gt;&lt;p&gt;Licence: GPL-3.0-or-later.&lt;/p&gt;&lt;p&gt;Example data: the &lt;tt&gt;examples/&lt;/tt&gt; folder of the source tree (a TGA forest image and an NLCD land-cover map).&lt;br&gt;Manual: &lt;tt&gt;man orvalis&lt;/tt&gt; and &lt;tt&gt;man orvalis-cli&lt;/tt&gt; when installed, and &lt;tt&gt;README.md&lt;/tt&gt; in the source tree.&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;b&gt;Orvalis %1&lt;/b&gt;&lt;/p&gt;&lt;p&gt;A desktop tool for landscape ecologists: samples habitat windows from landscape images and land-cover maps, draws neutral landscapes and measures them.&lt;/p&gt;&lt;p&gt;Licence: GPL-3.0-or-later.&lt;/p&gt;&lt;p&gt;Example data: the &lt;tt&gt;examples/&lt;/tt&gt; folder of the source tree (a TGA forest image and an NLCD land-cover map).&lt;br&gt;Manual: &lt;tt&gt;man orvalis&lt;/tt&gt; and &lt;tt&gt;man orvalis-cli&lt;/tt&gt; when installed, and &lt;tt&gt;README.md&lt;/tt&gt; in the source tree.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Metrics</source>
        <translation>Metrics</translation>
    </message>
    <message>
        <source>View</source>
        <translation>View</translation>
    </message>
    <message>
        <source>Metrics panel</source>
        <translation>Metrics panel</translation>
    </message>
    <message>
        <source>Level</source>
        <translation>Level</translation>
    </message>
    <message>
        <source>patch</source>
        <translation>patch</translation>
    </message>
    <message>
        <source>class</source>
        <translation>class</translation>
    </message>
    <message>
        <source>landscape</source>
        <translation>landscape</translation>
    </message>
    <message>
        <source>Neighbour rule</source>
        <translation>Neighbour rule</translation>
    </message>
    <message>
        <source>8 cells: patches join at sides and corners</source>
        <translation>8 cells: patches join at sides and corners</translation>
    </message>
    <message>
        <source>4 cells: patches join at sides only</source>
        <translation>4 cells: patches join at sides only</translation>
    </message>
    <message>
        <source>Cell side</source>
        <translation>Cell side</translation>
    </message>
    <message>
        <source> m</source>
        <translation> m</translation>
    </message>
    <message>
        <source>from the file&apos;s frame</source>
        <translation>from the file&apos;s frame</translation>
    </message>
    <message>
        <source>the file&apos;s frame gives %1 m</source>
        <translation>the file&apos;s frame gives %1 m</translation>
    </message>
    <message>
        <source>the file gives none</source>
        <translation>the file gives none</translation>
    </message>
    <message>
        <source>Metric</source>
        <translation>Metric</translation>
    </message>
    <message>
        <source>Unit</source>
        <translation>Unit</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>Patch</source>
        <translation>Patch</translation>
    </message>
    <message>
        <source>Class</source>
        <translation>Class</translation>
    </message>
    <message>
        <source>class %1</source>
        <translation>class %1</translation>
    </message>
    <message>
        <source>Code</source>
        <translation>Code</translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;b&gt;%1&lt;/b&gt; (%2)&lt;/p&gt;&lt;p&gt;%3&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;b&gt;%1&lt;/b&gt; (%2)&lt;/p&gt;&lt;p&gt;%3&lt;/p&gt;</translation>
    </message>
    <message>
        <source>NA: not defined for this grid</source>
        <translation>NA: not defined for this grid</translation>
    </message>
    <message>
        <source>Areas in hectares, lengths in metres, values to 4 significant digits: a value&apos;s tooltip and Ctrl+C give every digit.</source>
        <translation>Areas in hectares, lengths in metres, values to 4 significant digits: a value&apos;s tooltip and Ctrl+C give every digit.</translation>
    </message>
    <message>
        <source>The first %1 of %2 patches are listed; orvalis-cli metrics --level patch lists them all.</source>
        <translation>The first %1 of %2 patches are listed; orvalis-cli metrics --level patch lists them all.</translation>
    </message>
    <message>
        <source>Measuring…</source>
        <translation>Measuring…</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>%1 cells: too many to measure here; orvalis-cli metrics measures the file.</source>
        <translation>%1 cells: too many to measure here; orvalis-cli metrics measures the file.</translation>
    </message>
    <message>
        <source>Not measured: %1</source>
        <translation>Not measured: %1</translation>
    </message>
    <message>
        <source>sample name empty</source>
        <translation>sample name empty</translation>
    </message>
    <message>
        <source>sample post-string empty</source>
        <translation>sample post-string empty</translation>
    </message>
    <message>
        <source>cover value %1</source>
        <translation>cover value %1</translation>
    </message>
    <message>
        <source>matrix value %1</source>
        <translation>matrix value %1</translation>
    </message>
    <message>
        <source>config.txt could not be read completely (%1); using %2.</source>
        <translation>config.txt could not be read completely (%1); using %2.</translation>
    </message>
    <message>
        <source>config.txt has changed on disk since Orvalis read it. Replace it with these settings?</source>
        <translation>config.txt has changed on disk since Orvalis read it. Replace it with these settings?</translation>
    </message>
    <message>
        <source>The settings apply until the program ends; config.txt was left as it was changed on disk.</source>
        <translation>The settings apply until the program ends; config.txt was left as it was changed on disk.</translation>
    </message>
    <message>
        <source>The settings apply until the program ends, but they could not be saved in config.txt: %1.</source>
        <translation>The settings apply until the program ends, but they could not be saved in config.txt: %1.</translation>
    </message>
    <message>
        <source>Map</source>
        <translation>Map</translation>
    </message>
    <message>
        <source>Open Map…</source>
        <translation>Open Map…</translation>
    </message>
    <message>
        <source>Open Sample Log…</source>
        <translation>Open Sample Log…</translation>
    </message>
    <message>
        <source>Choose the map</source>
        <translation>Choose the map</translation>
    </message>
    <message>
        <source>Choose the map %1 was sampled from</source>
        <translation>Choose the map %1 was sampled from</translation>
    </message>
    <message>
        <source>Maps (*.tga *.TGA *.tif *.tiff *.TIF *.img *.asc *.nc *.vrt);;All files (*)</source>
        <translation>Maps (*.tga *.TGA *.tif *.tiff *.TIF *.img *.asc *.nc *.vrt);;All files (*)</translation>
    </message>
    <message>
        <source>Choose a sample log</source>
        <translation>Choose a sample log</translation>
    </message>
    <message>
        <source>Sample logs (sample*.txt *.txt);;All files (*)</source>
        <translation>Sample logs (sample*.txt *.txt);;All files (*)</translation>
    </message>
    <message>
        <source>Reading the map…</source>
        <translation>Reading the map…</translation>
    </message>
    <message>
        <source>No map: File → Open Map, File → Open Sample Log, or a sampling run.</source>
        <translation>No map: File → Open Map, File → Open Sample Log, or a sampling run.</translation>
    </message>
    <message>
        <source>The map %1 could not be read: %2</source>
        <translation>The map %1 could not be read: %2</translation>
    </message>
    <message>
        <source>No window file of the log could be read to learn the windows&apos; side (%1): only their centres are marked.</source>
        <translation>No window file of the log could be read to learn the windows&apos; side (%1): only their centres are marked.</translation>
    </message>
    <message>
        <source>Some of %1 was not shown:
%2</source>
        <translation>Some of %1 was not shown:
%2</translation>
    </message>
    <message>
        <source>Window cover</source>
        <translation>Window cover</translation>
    </message>
    <message>
        <source>%1
cover %2%
centre column %3, row %4</source>
        <translation>%1
cover %2%
centre column %3, row %4</translation>
    </message>
    <message>
        <source>
map x %1, y %2</source>
        <translation>
map x %1, y %2</translation>
    </message>
    <message>
        <source>Values of %1</source>
        <translation>Values of %1</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 of %2</translation>
    </message>
    <message>
        <source>band %1</source>
        <translation>band %1</translation>
    </message>
    <message>
        <source>band %1: %2</source>
        <translation>band %1: %2</translation>
    </message>
    <message>
        <source>The band of the map drawn</source>
        <translation>The band of the map drawn</translation>
    </message>
    <message>
        <source>site %1
map x %2, y %3
largest buffer %4 map units</source>
        <translation>site %1
map x %2, y %3
largest buffer %4 map units</translation>
    </message>
    <message>
        <source>1 site, buffer of %1 map units</source>
        <translation>1 site, buffer of %1 map units</translation>
    </message>
    <message>
        <source>%1 sites, largest buffer %2 map units</source>
        <translation>%1 sites, largest buffer %2 map units</translation>
    </message>
    <message>
        <source>%1: drawn in the Grid tab</source>
        <translation>%1: drawn in the Grid tab</translation>
    </message>
    <message>
        <source>Analyse</source>
        <translation>Analyse</translation>
    </message>
    <message>
        <source>Compare with neutral models...</source>
        <translation>Compare with neutral models…</translation>
    </message>
    <message>
        <source>There are no windows to compare: open landscape files or choose a sampling log.</source>
        <translation>There are no windows to compare: open landscape files or choose a sampling log.</translation>
    </message>
    <message>
        <source>No output folder was given for the comparison.</source>
        <translation>No output folder was given for the comparison.</translation>
    </message>
    <message>
        <source>The folder %1 could not be created.</source>
        <translation>The folder %1 could not be created.</translation>
    </message>
    <message>
        <source>The comparison was not run: %1</source>
        <translation>The comparison was not run: %1</translation>
    </message>
    <message>
        <source>The comparison ended with a problem: %1</source>
        <translation>The comparison ended with a problem: %1</translation>
    </message>
    <message>
        <source>Comparison cancelled: the tables hold the windows finished before.</source>
        <translation>Comparison cancelled: the tables hold the windows finished before.</translation>
    </message>
    <message>
        <source>Comparison: %1 neutral replicates measured.</source>
        <translation>Comparison: %1 neutral replicates measured.</translation>
    </message>
    <message>
        <source>Comparison with neutral models</source>
        <translation>Comparison with neutral models</translation>
    </message>
    <message>
        <source>Tables saved in %1 (compare.csv, neutral-metrics.csv, windows.csv)</source>
        <translation>Tables saved in %1 (compare.csv, neutral-metrics.csv, windows.csv)</translation>
    </message>
    <message>
        <source>The comparison&apos;s tables could not be read: %1</source>
        <translation>The comparison&apos;s tables could not be read: %1</translation>
    </message>
    <message>
        <source>Chart:</source>
        <translation>Chart:</translation>
    </message>
    <message>
        <source>%1, landscape level</source>
        <translation>%1, landscape level</translation>
    </message>
    <message>
        <source>%1, class %2</source>
        <translation>%1, class %2</translation>
    </message>
    <message>
        <source>Percolation of random landscapes</source>
        <translation>Percolation of random landscapes</translation>
    </message>
    <message>
        <source>&amp;Export...</source>
        <translation>&amp;Export…</translation>
    </message>
    <message>
        <source>Export the chart</source>
        <translation>Export the chart</translation>
    </message>
    <message>
        <source>PNG picture (*.png);;SVG drawing (*.svg)</source>
        <translation>PNG picture (*.png);;SVG drawing (*.svg)</translation>
    </message>
    <message>
        <source>Chart saved as %1</source>
        <translation>Chart saved as %1</translation>
    </message>
    <message>
        <source>Metrics around sites...</source>
        <translation>Metrics around sites…</translation>
    </message>
    <message>
        <source>Choose the land-cover map</source>
        <translation>Choose the land-cover map</translation>
    </message>
    <message>
        <source>Land-cover maps (*.tif *.tiff *.gtif *.img *.vrt *.asc *.nc *.kea *.jp2 *.gpkg *.rst *.sdat);;All files (*)</source>
        <translation>Land-cover maps (*.tif *.tiff *.gtif *.img *.vrt *.asc *.nc *.kea *.jp2 *.gpkg *.rst *.sdat);;All files (*)</translation>
    </message>
    <message>
        <source>Choose the sites</source>
        <translation>Choose the sites</translation>
    </message>
    <message>
        <source>Sites (*.csv *.gpkg *.shp *.geojson *.json);;CSV tables (*.csv);;All files (*)</source>
        <translation>Sites (*.csv *.gpkg *.shp *.geojson *.json);;CSV tables (*.csv);;All files (*)</translation>
    </message>
    <message>
        <source>Save the sites&apos; table as</source>
        <translation>Save the sites&apos; table as</translation>
    </message>
    <message>
        <source>CSV tables (*.csv);;All files (*)</source>
        <translation>CSV tables (*.csv);;All files (*)</translation>
    </message>
    <message>
        <source>the radius &apos;%1&apos; is not a number</source>
        <translation>the radius &apos;%1&apos; is not a number</translation>
    </message>
    <message>
        <source>a radius must be above 0, not %1</source>
        <translation>a radius must be above 0, not %1</translation>
    </message>
    <message>
        <source>give at least one radius, e.g. 250, 500, 1000</source>
        <translation>give at least one radius, e.g. 250, 500, 1000</translation>
    </message>
    <message>
        <source>Choose the land-cover map to measure.</source>
        <translation>Choose the land-cover map to measure.</translation>
    </message>
    <message>
        <source>%1 does not exist.</source>
        <translation>%1 does not exist.</translation>
    </message>
    <message>
        <source>Choose the file of the sites.</source>
        <translation>Choose the file of the sites.</translation>
    </message>
    <message>
        <source>Radii: %1.</source>
        <translation>Radii: %1.</translation>
    </message>
    <message>
        <source>Habitat classes: %1</source>
        <translation>Habitat classes: %1</translation>
    </message>
    <message>
        <source>Tick at least one metric, or take the standard set.</source>
        <translation>Tick at least one metric, or take the standard set.</translation>
    </message>
    <message>
        <source>Metrics: %1</source>
        <translation>Metrics: %1</translation>
    </message>
    <message>
        <source>Name the table to write.</source>
        <translation>Name the table to write.</translation>
    </message>
    <message>
        <source>The table would replace %1: name another file.</source>
        <translation>The table would replace %1: name another file.</translation>
    </message>
    <message>
        <source>The table&apos;s folder %1 does not exist.</source>
        <translation>The table&apos;s folder %1 does not exist.</translation>
    </message>
    <message>
        <source>The map %1 cannot be measured: %2</source>
        <translation>The map %1 cannot be measured: %2</translation>
    </message>
    <message>
        <source>The map %1 has no frame or a rotated one: buffers in map units need a north-up map.</source>
        <translation>The map %1 has no frame or a rotated one: buffers in map units need a north-up map.</translation>
    </message>
    <message>
        <source>The sites in %1 cannot be read: %2</source>
        <translation>The sites in %1 cannot be read: %2</translation>
    </message>
    <message>
        <source>%1 holds no sites.</source>
        <translation>%1 holds no sites.</translation>
    </message>
    <message>
        <source>the map gives no cell size (%1): cells are measured as 1 m and radii are in its units</source>
        <translation>the map gives no cell size (%1): cells are measured as 1 m and radii are in its units</translation>
    </message>
    <message>
        <source>sites file: %1</source>
        <translation>sites file: %1</translation>
    </message>
    <message>
        <source>site %1: %2</source>
        <translation>site %1: %2</translation>
    </message>
    <message>
        <source>site %1 not measured: %2</source>
        <translation>site %1 not measured: %2</translation>
    </message>
    <message>
        <source>Sites: %1 of %2 measured at 1 radius; table %3.</source>
        <translation>Sites: %1 of %2 measured at 1 radius; table %3.</translation>
    </message>
    <message>
        <source>Sites: %1 of %2 measured at %3 radii; table %4.</source>
        <translation>Sites: %1 of %2 measured at %3 radii; table %4.</translation>
    </message>
    <message>
        <source>Sites cancelled: no table was written.</source>
        <translation>Sites cancelled: no table was written.</translation>
    </message>
    <message>
        <source>The sites were not measured: %1: %2</source>
        <translation>The sites were not measured: %1: %2</translation>
    </message>
    <message>
        <source>The sites&apos; table %1 could not be written: %2</source>
        <translation>The sites&apos; table %1 could not be written: %2</translation>
    </message>
    <message>
        <source>Metrics around sites</source>
        <translation>Metrics around sites</translation>
    </message>
    <message>
        <source>Table saved as %1</source>
        <translation>Table saved as %1</translation>
    </message>
    <message>
        <source>Site</source>
        <translation>Site</translation>
    </message>
    <message>
        <source>Radius</source>
        <translation>Radius</translation>
    </message>
    <message>
        <source>Warnings, and sites not measured:</source>
        <translation>Warnings, and sites not measured:</translation>
    </message>
    <message>
        <source>%1 could not be written: %2</source>
        <translation>%1 could not be written: %2</translation>
    </message>
    <message>
        <source>Moving-window surface...</source>
        <translation>Moving-window surface…</translation>
    </message>
    <message>
        <source>Save the surface as</source>
        <translation>Save the surface as</translation>
    </message>
    <message>
        <source>GeoTIFF (*.tif *.tiff);;All files (*)</source>
        <translation>GeoTIFF (*.tif *.tiff);;All files (*)</translation>
    </message>
    <message>
        <source>Choose the land-cover map.</source>
        <translation>Choose the land-cover map.</translation>
    </message>
    <message>
        <source>The window must be an odd number of cells, so that it has a centre cell: not %1.</source>
        <translation>The window must be an odd number of cells, so that it has a centre cell: not %1.</translation>
    </message>
    <message>
        <source>Tick at least one metric.</source>
        <translation>Tick at least one metric.</translation>
    </message>
    <message>
        <source>Name the GeoTIFF to write.</source>
        <translation>Name the GeoTIFF to write.</translation>
    </message>
    <message>
        <source>The surface would replace the map %1: name another file.</source>
        <translation>The surface would replace the map %1: name another file.</translation>
    </message>
    <message>
        <source>%1 is a folder: name a file.</source>
        <translation>%1 is a folder: name a file.</translation>
    </message>
    <message>
        <source>The surface&apos;s folder %1 does not exist.</source>
        <translation>The surface&apos;s folder %1 does not exist.</translation>
    </message>
    <message>
        <source>The map %1 cannot be read: %2</source>
        <translation>The map %1 cannot be read: %2</translation>
    </message>
    <message>
        <source>The surface was not made: %1</source>
        <translation>The surface was not made: %1</translation>
    </message>
    <message>
        <source>The surface could not be made: %1; nothing was written.</source>
        <translation>The surface could not be made: %1; nothing was written.</translation>
    </message>
    <message>
        <source>Surface cancelled: nothing was written.</source>
        <translation>Surface cancelled: nothing was written.</translation>
    </message>
    <message>
        <source>Surface written to %1.</source>
        <translation>Surface written to %1.</translation>
    </message>
    <message>
        <source>Manual</source>
        <translation>Manual</translation>
    </message>
    <message>
        <source>Orvalis manual</source>
        <translation>Orvalis manual</translation>
    </message>
    <message>
        <source>The manual (README.md) is not installed here: see &lt;tt&gt;man orvalis&lt;/tt&gt; and &lt;tt&gt;man orvalis-cli&lt;/tt&gt;, or README.md in the source tree.</source>
        <translation>The manual (README.md) is not installed here: see &lt;tt&gt;man orvalis&lt;/tt&gt; and &lt;tt&gt;man orvalis-cli&lt;/tt&gt;, or README.md in the source tree.</translation>
    </message>
    <message>
        <source>Open a map or a sample log, or Create → Sample</source>
        <translation>Open a map or a sample log, or Create → Sample</translation>
    </message>
    <message>
        <source>File → Open lists landscape files (text grids, ASCII grids, GeoTIFF) and draws the one selected. Or look at an example first:</source>
        <translation>File → Open lists landscape files (text grids, ASCII grids, GeoTIFF) and draws the one selected. Or look at an example first:</translation>
    </message>
    <message>
        <source>Example image: %1</source>
        <translation>Example image: %1</translation>
    </message>
    <message>
        <source>A forest image to sample (TGA: dark pixels are habitat), shown in the Map tab</source>
        <translation>A forest image to sample (TGA: dark pixels are habitat), shown in the Map tab</translation>
    </message>
    <message>
        <source>Example land-cover map: %1</source>
        <translation>Example land-cover map: %1</translation>
    </message>
    <message>
        <source>A land-cover map (GeoTIFF, NLCD classes), shown in the Map tab</source>
        <translation>A land-cover map (GeoTIFF, NLCD classes), shown in the Map tab</translation>
    </message>
    <message>
        <source>Tool bar</source>
        <translation>Tool bar</translation>
    </message>
    <message>
        <source>%1 of %2 windows written</source>
        <translation>%1 of %2 windows written</translation>
    </message>
    <message>
        <source>%1 %2 % left</source>
        <translation>%1 %2 % left</translation>
    </message>
    <message>
        <source>Log of an earlier run</source>
        <translation>Log of an earlier run</translation>
    </message>
    <message numerus="yes">
        <source>%1 already holds the log of an earlier run: %n window(s), written %2.</source>
        <translation>
            <numerusform>%1 already holds the log of an earlier run: %n window, written %2.</numerusform>
            <numerusform>%1 already holds the log of an earlier run: %n windows, written %2.</numerusform>
        </translation>
    </message>
    <message>
        <source>This run replaces it. Keep a copy of it as %1?</source>
        <translation>This run replaces it. Keep a copy of it as %1?</translation>
    </message>
    <message>
        <source>Keep a copy</source>
        <translation>Keep a copy</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Replace</translation>
    </message>
    <message>
        <source>Sampling: the earlier log could not be kept (%1); nothing was written.</source>
        <translation>Sampling: the earlier log could not be kept (%1); nothing was written.</translation>
    </message>
    <message>
        <source>The earlier run&apos;s log was kept as %1.</source>
        <translation>The earlier run&apos;s log was kept as %1.</translation>
    </message>
    <message>
        <source>%1, habitat (class %2)</source>
        <translation>%1, habitat (class %2)</translation>
    </message>
    <message>
        <source>%1, matrix (class %2)</source>
        <translation>%1, matrix (class %2)</translation>
    </message>
    <message>
        <source>Not charted, the same in every window and replicate: %1</source>
        <translation>Not charted, the same in every window and replicate: %1</translation>
    </message>
    <message>
        <source>%1
cover %2 %, value %3</source>
        <translation>%1
cover %2 %, value %3</translation>
    </message>
    <message>
        <source>Cell size used: %1</source>
        <translation>Cell size used: %1</translation>
    </message>
    <message>
        <source>Cell size used: %1 m, as given above: the windows give none of their own</source>
        <translation>Cell size used: %1 m, as given above: the windows give none of their own</translation>
    </message>
    <message>
        <source>Cell size used: from %1 to %2 m, each window its own</source>
        <translation>Cell size used: from %1 to %2 m, each window its own</translation>
    </message>
    <message>
        <source>It will write about %1.</source>
        <translation>It will write about %1.</translation>
    </message>
    <message>
        <source>This comparison will write about %1 into %2. Go on?</source>
        <translation>This comparison will write about %1 into %2. Go on?</translation>
    </message>
    <message>
        <source>Neutral landscapes</source>
        <translation>Neutral landscapes</translation>
    </message>
    <message>
        <source>%1 of %2 landscapes written</source>
        <translation>%1 of %2 landscapes written</translation>
    </message>
    <message>
        <source>%1 (%2 of %3)</source>
        <translation>%1 (%2 of %3)</translation>
    </message>
    <message>
        <source>; short: %1</source>
        <translation>; short: %1</translation>
    </message>
    <message>
        <source> and %1 more</source>
        <translation> and %1 more</translation>
    </message>
    <message>
        <source>the grid is not rectangular: its rows differ in length</source>
        <translation>the grid is not rectangular: its rows differ in length</translation>
    </message>
</context>
</TS>
