<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_BR">
<context>
    <name>DialogCompare</name>
    <message>
        <source>Compare with neutral models</source>
        <translation>Comparar com modelos neutros</translation>
    </message>
    <message>
        <source>Real windows</source>
        <translation>Janelas reais</translation>
    </message>
    <message>
        <source>The files in the list</source>
        <translation>Os arquivos da lista</translation>
    </message>
    <message>
        <source>The windows of a sampling log:</source>
        <translation>As janelas de um registro de amostragem:</translation>
    </message>
    <message>
        <source>sample.txt</source>
        <translation>sample.txt</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Procurar…</translation>
    </message>
    <message>
        <source>Neutral models (same habitat count as each window)</source>
        <translation>Modelos neutros (a mesma quantidade de habitat de cada janela)</translation>
    </message>
    <message>
        <source>Random</source>
        <translation>Aleatório</translation>
    </message>
    <message>
        <source>Fractal, H values:</source>
        <translation>Fractal, valores de H:</translation>
    </message>
    <message>
        <source>0.2, 0.5, 0.8</source>
        <translation>0.2, 0.5, 0.8</translation>
    </message>
    <message>
        <source>Values in (0, 1], separated by commas or blanks</source>
        <translation>Valores em (0, 1], separados por vírgulas ou espaços</translation>
    </message>
    <message>
        <source>Replicates per window and model:</source>
        <translation>Réplicas por janela e modelo:</translation>
    </message>
    <message>
        <source>Seed:</source>
        <translation>Semente:</translation>
    </message>
    <message>
        <source>Patch rule:</source>
        <translation>Regra de mancha:</translation>
    </message>
    <message>
        <source>8 neighbours</source>
        <translation>8 vizinhos</translation>
    </message>
    <message>
        <source>4 neighbours</source>
        <translation>4 vizinhos</translation>
    </message>
    <message>
        <source>Cell size:</source>
        <translation>Tamanho da célula:</translation>
    </message>
    <message>
        <source> m</source>
        <translation> m</translation>
    </message>
    <message>
        <source>Metrics</source>
        <translation>Métricas</translation>
    </message>
    <message>
        <source>The standard 26 class and landscape metrics</source>
        <translation>As 26 métricas padrão de classe e de paisagem</translation>
    </message>
    <message>
        <source>Only the metrics ticked below</source>
        <translation>Somente as métricas marcadas abaixo</translation>
    </message>
    <message>
        <source>Output folder:</source>
        <translation>Pasta de saída:</translation>
    </message>
    <message>
        <source>Keep the neutral landscapes (landscapes/MODEL/ in the output folder)</source>
        <translation>Guardar as paisagens neutras (landscapes/MODELO/ na pasta de saída)</translation>
    </message>
    <message>
        <source>The files in the list (%1)</source>
        <translation>Os arquivos da lista (%1)</translation>
    </message>
    <message>
        <source>Choose the folder for the comparison&apos;s tables</source>
        <translation>Escolha a pasta para as tabelas da comparação</translation>
    </message>
    <message>
        <source>Compare the landscape files listed in the window</source>
        <translation>Comparar os arquivos de paisagem listados na janela</translation>
    </message>
    <message>
        <source>Compare the windows a sampling run logged in its sample.txt</source>
        <translation>Comparar as janelas que uma amostragem registrou no seu sample.txt</translation>
    </message>
    <message>
        <source>The sample.txt of a sampling run</source>
        <translation>O sample.txt de uma amostragem</translation>
    </message>
    <message>
        <source>Choose the sample.txt</source>
        <translation>Escolha o sample.txt</translation>
    </message>
    <message>
        <source>Random landscapes: each cell habitat with the window&apos;s cover as probability</source>
        <translation>Paisagens aleatórias: cada célula é habitat com a cobertura da janela como probabilidade</translation>
    </message>
    <message>
        <source>Fractal (midpoint-displacement) landscapes at each H given</source>
        <translation>Paisagens fractais (deslocamento do ponto médio) em cada H dado</translation>
    </message>
    <message>
        <source>Neutral landscapes drawn for each window and model</source>
        <translation>Paisagens neutras geradas para cada janela e modelo</translation>
    </message>
    <message>
        <source>The same seed and settings give the same neutral landscapes</source>
        <translation>A mesma semente e os mesmos parâmetros dão as mesmas paisagens neutras</translation>
    </message>
    <message>
        <source>Whether cells touching at a corner belong to one patch (8) or not (4)</source>
        <translation>Se células que se tocam pelo canto pertencem à mesma mancha (8) ou não (4)</translation>
    </message>
    <message>
        <source>Side of a cell in metres, for areas and lengths</source>
        <translation>Lado de uma célula em metros, para áreas e comprimentos</translation>
    </message>
    <message>
        <source>Measure the usual class and landscape metrics</source>
        <translation>Medir as métricas usuais de classe e de paisagem</translation>
    </message>
    <message>
        <source>Measure only the metrics ticked in the list</source>
        <translation>Medir somente as métricas marcadas na lista</translation>
    </message>
    <message>
        <source>Tick the metrics to compare</source>
        <translation>Marque as métricas a comparar</translation>
    </message>
    <message>
        <source>The folder for the comparison&apos;s tables</source>
        <translation>A pasta para as tabelas da comparação</translation>
    </message>
    <message>
        <source>Choose the folder for the tables</source>
        <translation>Escolha a pasta para as tabelas</translation>
    </message>
    <message>
        <source>Also write every neutral landscape drawn, under landscapes/ in the output folder</source>
        <translation>Gravar também cada paisagem neutra gerada, em landscapes/ na pasta de saída</translation>
    </message>
</context>
<context>
    <name>DialogNeutral</name>
    <message>
        <source>Neutral landscape</source>
        <translation>Paisagem neutra</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>Modelo</translation>
    </message>
    <message>
        <source>Parameters (empty: the default)</source>
        <translation>Parâmetros (vazio: o padrão)</translation>
    </message>
    <message>
        <source>Series</source>
        <translation>Série</translation>
    </message>
    <message>
        <source>Rows</source>
        <translation>Linhas</translation>
    </message>
    <message>
        <source>Columns</source>
        <translation>Colunas</translation>
    </message>
    <message>
        <source>Cover levels (%)</source>
        <translation>Níveis de cobertura (%)</translation>
    </message>
    <message>
        <source>10,30,50</source>
        <translation>10,30,50</translation>
    </message>
    <message>
        <source>Habitat percentages: L, L,L,... or MIN:MAX:STEP, each 0..100</source>
        <translation>Porcentagens de habitat: N, N,N,… ou MÍN:MÁX:PASSO, cada uma de 0 a 100</translation>
    </message>
    <message>
        <source>Class proportions</source>
        <translation>Proporções de classes</translation>
    </message>
    <message>
        <source>0.2,0.3,0.5</source>
        <translation>0.2,0.3,0.5</translation>
    </message>
    <message>
        <source>Shares of classes 1..k summing to 1; class 1 takes the lowest values</source>
        <translation>Proporções das classes 1..k, somando 1; a classe 1 fica com os menores valores</translation>
    </message>
    <message>
        <source>Replicates</source>
        <translation>Réplicas</translation>
    </message>
    <message>
        <source>Seed</source>
        <translation>Semente</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>Formato</translation>
    </message>
    <message>
        <source>Text grid (.txt)</source>
        <translation>Grade de texto (.txt)</translation>
    </message>
    <message>
        <source>ESRI ASCII grid (.asc)</source>
        <translation>Grade ASCII ESRI (.asc)</translation>
    </message>
    <message>
        <source>GeoTIFF (.tif)</source>
        <translation>GeoTIFF (.tif)</translation>
    </message>
    <message>
        <source>Cell size (m)</source>
        <translation>Tamanho da célula (m)</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Pasta</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Procurar…</translation>
    </message>
    <message>
        <source>Preview: replicate 1 of the first level</source>
        <translation>Prévia: réplica 1 do primeiro nível</translation>
    </message>
    <message>
        <source>Models blended as NLMpy&apos;s blendArray: WEIGHT*MODEL+WEIGHT*MODEL..., each model with its parameters as MODEL:NAME=VALUE</source>
        <translation>Modelos combinados como no blendArray do NLMpy: PESO*MODELO+PESO*MODELO…, cada modelo com seus parâmetros como MODELO:NOME=VALOR</translation>
    </message>
    <message>
        <source>Blend</source>
        <translation>Combinação</translation>
    </message>
    <message>
        <source>blend of models</source>
        <translation>combinação de modelos</translation>
    </message>
    <message>
        <source>Each model&apos;s surface rescaled to [0, 1], weighted, summed and rescaled</source>
        <translation>A superfície de cada modelo é reescalada para [0, 1], ponderada, somada e reescalada</translation>
    </message>
    <message>
        <source>Follows %1</source>
        <translation>Segundo %1</translation>
    </message>
    <message>
        <source>This model has no parameters.</source>
        <translation>Este modelo não tem parâmetros.</translation>
    </message>
    <message>
        <source>default %1</source>
        <translation>padrão %1</translation>
    </message>
    <message>
        <source>drawn for every replicate</source>
        <translation>sorteado para cada réplica</translation>
    </message>
    <message>
        <source>required</source>
        <translation>obrigatório</translation>
    </message>
    <message>
        <source>not used</source>
        <translation>não usado</translation>
    </message>
    <message>
        <source>%1
Range: %2
Empty: %3</source>
        <translation>%1
Intervalo: %2
Vazio: %3</translation>
    </message>
    <message>
        <source>Choose the folder for the landscapes.</source>
        <translation>Escolha a pasta para as paisagens.</translation>
    </message>
    <message>
        <source>The folder %1 does not exist.</source>
        <translation>A pasta %1 não existe.</translation>
    </message>
    <message>
        <source>Choose the folder for the landscapes</source>
        <translation>Escolha a pasta para as paisagens</translation>
    </message>
    <message>
        <source>%1 x %2 cells shown</source>
        <translation>%1 x %2 células exibidas</translation>
    </message>
    <message>
        <source>The neutral model that makes each landscape&apos;s surface, or a blend of models</source>
        <translation>O modelo neutro que gera a superfície de cada paisagem, ou uma combinação de modelos</translation>
    </message>
    <message>
        <source>Rows of cells of each landscape</source>
        <translation>Linhas de células de cada paisagem</translation>
    </message>
    <message>
        <source>Columns of cells of each landscape</source>
        <translation>Colunas de células de cada paisagem</translation>
    </message>
    <message>
        <source>Habitat and matrix landscapes, habitat exactly at each cover level given</source>
        <translation>Paisagens de habitat e matriz, com o habitat exatamente em cada nível de cobertura dado</translation>
    </message>
    <message>
        <source>Landscapes of classes 1..k, each class exactly its share of the cells</source>
        <translation>Paisagens de classes 1..k, cada classe com exatamente a sua proporção das células</translation>
    </message>
    <message>
        <source>How many landscapes at each cover level, or in all with class proportions</source>
        <translation>Quantas paisagens em cada nível de cobertura, ou no total com proporções de classes</translation>
    </message>
    <message>
        <source>Seed of the landscapes: the same seed and settings give the same files</source>
        <translation>Semente das paisagens: a mesma semente e os mesmos parâmetros dão os mesmos arquivos</translation>
    </message>
    <message>
        <source>The file format of the landscapes</source>
        <translation>O formato de arquivo das paisagens</translation>
    </message>
    <message>
        <source>Side of a cell in metres, written in the frame of .asc and .tif files</source>
        <translation>Lado de uma célula em metros, gravado no referenciamento dos arquivos .asc e .tif</translation>
    </message>
    <message>
        <source>The folder the landscape files and their batch list are written to</source>
        <translation>A pasta onde os arquivos de paisagem e a sua lista de lote são gravados</translation>
    </message>
    <message>
        <source>Choose the folder for the landscape files</source>
        <translation>Escolha a pasta para os arquivos de paisagem</translation>
    </message>
</context>
<context>
    <name>DialogRnd</name>
    <message>
        <source>Random landscapes settings</source>
        <translation>Parâmetros das paisagens aleatórias</translation>
    </message>
    <message>
        <source>Cover mim</source>
        <translation>Cobertura mín.</translation>
    </message>
    <message>
        <source>Cover max</source>
        <translation>Cobertura máx.</translation>
    </message>
    <message>
        <source>Step change in cover</source>
        <translation>Passo da cobertura</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Tamanho</translation>
    </message>
    <message>
        <source>Number of replicates</source>
        <translation>Número de réplicas</translation>
    </message>
    <message>
        <source>TOTAL NUMBER OF FILES TO GENERATE</source>
        <translation>Total de arquivos a gerar</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Pasta</translation>
    </message>
    <message>
        <source>...</source>
        <translation>Procurar…</translation>
    </message>
    <message>
        <source>Measure every landscape into metrics.csv beside the batch list</source>
        <translation>Medir cada paisagem em metrics.csv, ao lado da lista de lote</translation>
    </message>
    <message>
        <source>Choose folder to generate files</source>
        <translation>Escolha a pasta onde gerar os arquivos</translation>
    </message>
    <message>
        <source>Lowest habitat cover, in whole percent</source>
        <translation>Menor cobertura de habitat, em porcentagem inteira</translation>
    </message>
    <message>
        <source>Highest habitat cover, in whole percent</source>
        <translation>Maior cobertura de habitat, em porcentagem inteira</translation>
    </message>
    <message>
        <source>Percent between one cover level and the next</source>
        <translation>Porcentagem entre um nível de cobertura e o seguinte</translation>
    </message>
    <message>
        <source>Side of each square landscape, in cells</source>
        <translation>Lado de cada paisagem quadrada, em células</translation>
    </message>
    <message>
        <source>How many landscapes at each cover level</source>
        <translation>Quantas paisagens em cada nível de cobertura</translation>
    </message>
    <message>
        <source>Landscapes to write: cover levels times replicates (computed)</source>
        <translation>Paisagens a gravar: níveis de cobertura vezes réplicas (calculado)</translation>
    </message>
    <message>
        <source>The folder the landscape files are written to</source>
        <translation>A pasta onde os arquivos de paisagem são gravados</translation>
    </message>
    <message>
        <source>Choose the folder for the landscape files</source>
        <translation>Escolha a pasta para os arquivos de paisagem</translation>
    </message>
    <message>
        <source>Also measure the landscape metrics of every landscape, into metrics.csv</source>
        <translation>Medir também as métricas de cada paisagem, em metrics.csv</translation>
    </message>
</context>
<context>
    <name>DialogSample</name>
    <message>
        <source>Sampler settings</source>
        <translation>Parâmetros do amostrador</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Tamanho</translation>
    </message>
    <message>
        <source>Number os replicates</source>
        <translation>Número de réplicas</translation>
    </message>
    <message>
        <source>Minimum distance between replicates</source>
        <translation>Distância mínima entre réplicas</translation>
    </message>
    <message>
        <source>Cover min</source>
        <translation>Cobertura mín.</translation>
    </message>
    <message>
        <source>Cover max</source>
        <translation>Cobertura máx.</translation>
    </message>
    <message>
        <source>Step change in cover</source>
        <translation>Passo da cobertura</translation>
    </message>
    <message>
        <source>TOTAL NUMBER OF FILES GENERATED</source>
        <translation>Total de arquivos gerados</translation>
    </message>
    <message>
        <source>Figure File</source>
        <translation>Arquivo de imagem ou mapa</translation>
    </message>
    <message>
        <source>...</source>
        <translation>Procurar…</translation>
    </message>
    <message>
        <source>Land-cover map</source>
        <translation>Mapa de cobertura do solo</translation>
    </message>
    <message>
        <source>Habitat classes</source>
        <translation>Classes de habitat</translation>
    </message>
    <message>
        <source>e.g. 41-43, 90</source>
        <translation>p. ex. 41-43, 90</translation>
    </message>
    <message>
        <source>Window format</source>
        <translation>Formato das janelas</translation>
    </message>
    <message>
        <source>GeoTIFF (.tif)</source>
        <translation>GeoTIFF (.tif)</translation>
    </message>
    <message>
        <source>ESRI ASCII grid (.asc)</source>
        <translation>Grade ASCII ESRI (.asc)</translation>
    </message>
    <message>
        <source>Text grid (.txt)</source>
        <translation>Grade de texto (.txt)</translation>
    </message>
    <message>
        <source>Band</source>
        <translation>Banda</translation>
    </message>
    <message>
        <source>Windows hold the map&apos;s class values instead of the cover and matrix values</source>
        <translation>As janelas guardam os valores de classe do mapa em vez dos valores de cobertura e de matriz</translation>
    </message>
    <message>
        <source>Keep the map&apos;s classes</source>
        <translation>Manter as classes do mapa</translation>
    </message>
    <message>
        <source>Classes in the map: tick the habitat</source>
        <translation>Classes do mapa: marque o habitat</translation>
    </message>
    <message>
        <source>Class</source>
        <translation>Classe</translation>
    </message>
    <message>
        <source>Cells</source>
        <translation>Células</translation>
    </message>
    <message>
        <source>Share</source>
        <translation>Proporção</translation>
    </message>
    <message>
        <source>color: #b00020;</source>
        <translation>color: #b00020;</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Pasta</translation>
    </message>
    <message>
        <source>Measure every window into metrics.csv beside sample.txt</source>
        <translation>Medir cada janela em metrics.csv, ao lado de sample.txt</translation>
    </message>
    <message>
        <source>Escolha pasta onde serão alocados os arquivos</source>
        <translation>Escolha pasta onde serão alocados os arquivos</translation>
    </message>
    <message>
        <source>Choose the image file (TGA)</source>
        <translation>Escolha a imagem (TGA) ou o mapa de cobertura do solo</translation>
    </message>
    <message>
        <source>Images and land-cover maps (*.tga %1);;TGA images (*.tga);;Land-cover maps (%1);;All files (*)</source>
        <translation>Imagens e mapas de cobertura do solo (*.tga %1);;Imagens TGA (*.tga);;Mapas de cobertura do solo (%1);;Todos os arquivos (*)</translation>
    </message>
    <message>
        <source>Counting the map&apos;s classes... %1 %</source>
        <translation>Contando as classes do mapa… %1 %</translation>
    </message>
    <message>
        <source>%1 x %2 cells</source>
        <translation>%1 x %2 células</translation>
    </message>
    <message>
        <source>1 class</source>
        <translation>1 classe</translation>
    </message>
    <message>
        <source>%1 classes</source>
        <translation>%1 classes</translation>
    </message>
    <message>
        <source>%1, %2, %3 no-data cells</source>
        <translation>%1, %2, %3 células sem dados</translation>
    </message>
    <message>
        <source>; more distinct values than %1: the first met are listed, %2 cells hold others</source>
        <translation>; mais de %1 valores distintos: os primeiros encontrados estão listados, %2 células têm outros</translation>
    </message>
    <message>
        <source>This map cannot be sampled: %1</source>
        <translation>Este mapa não pode ser amostrado: %1</translation>
    </message>
    <message>
        <source>%1 %</source>
        <translation>%1 %</translation>
    </message>
    <message>
        <source>Side of each square window, in pixels (cells)</source>
        <translation>Lado de cada janela quadrada, em pixels (células)</translation>
    </message>
    <message>
        <source>How many windows to cut at each cover level</source>
        <translation>Quantas janelas recortar em cada nível de cobertura</translation>
    </message>
    <message>
        <source>Smallest distance between the centres of two windows, in pixels</source>
        <translation>Menor distância entre os centros de duas janelas, em pixels</translation>
    </message>
    <message>
        <source>Lowest habitat cover sought, in whole percent</source>
        <translation>Menor cobertura de habitat buscada, em porcentagem inteira</translation>
    </message>
    <message>
        <source>Highest habitat cover sought, in whole percent</source>
        <translation>Maior cobertura de habitat buscada, em porcentagem inteira</translation>
    </message>
    <message>
        <source>Percent between one cover level and the next</source>
        <translation>Porcentagem entre um nível de cobertura e o seguinte</translation>
    </message>
    <message>
        <source>Windows asked for: cover levels times replicates (computed)</source>
        <translation>Janelas pedidas: níveis de cobertura vezes réplicas (calculado)</translation>
    </message>
    <message>
        <source>The image to sample (uncompressed 24- or 32-bit TGA, dark pixels are habitat) or a land-cover map</source>
        <translation>A imagem a amostrar (TGA sem compressão de 24 ou 32 bits, pixels escuros são habitat) ou um mapa de cobertura do solo</translation>
    </message>
    <message>
        <source>Choose the image or the land-cover map</source>
        <translation>Escolha a imagem ou o mapa de cobertura do solo</translation>
    </message>
    <message>
        <source>The map&apos;s classes that count as habitat: values and ranges, e.g. 41-43, 90</source>
        <translation>As classes do mapa que contam como habitat: valores e intervalos, p. ex. 41-43, 90</translation>
    </message>
    <message>
        <source>The file format of the windows cut from a map</source>
        <translation>O formato de arquivo das janelas recortadas de um mapa</translation>
    </message>
    <message>
        <source>The band of the map that holds the classes</source>
        <translation>A banda do mapa que contém as classes</translation>
    </message>
    <message>
        <source>The map&apos;s classes with their cells: tick those that are habitat</source>
        <translation>As classes do mapa com suas células: marque as que são habitat</translation>
    </message>
    <message>
        <source>The folder the window files are written to</source>
        <translation>A pasta onde os arquivos das janelas são gravados</translation>
    </message>
    <message>
        <source>Choose the folder for the window files</source>
        <translation>Escolha a pasta para os arquivos das janelas</translation>
    </message>
    <message>
        <source>Also measure the landscape metrics of every window, into metrics.csv</source>
        <translation>Medir também as métricas de paisagem de cada janela, em metrics.csv</translation>
    </message>
    <message>
        <source>Working folder (sample.txt, batch list)</source>
        <translation>Pasta de trabalho (sample.txt, lista de lote)</translation>
    </message>
    <message>
        <source>The run writes its log sample.txt, its record sample-run.txt and the FRAGSTATS batch list here</source>
        <translation>A amostragem grava aqui o seu registro sample.txt, a sua ficha sample-run.txt e a lista de lote do FRAGSTATS</translation>
    </message>
    <message>
        <source>Choose the working folder for sample.txt and the batch list</source>
        <translation>Escolha a pasta de trabalho para o sample.txt e a lista de lote</translation>
    </message>
    <message>
        <source>Choose the working folder for sample.txt, its record and the batch list</source>
        <translation>Escolha a pasta de trabalho para o sample.txt, a sua ficha e a lista de lote</translation>
    </message>
</context>
<context>
    <name>DialogSites</name>
    <message>
        <source>Metrics around sites</source>
        <translation>Métricas em torno de pontos</translation>
    </message>
    <message>
        <source>Land-cover map:</source>
        <translation>Mapa de cobertura do solo:</translation>
    </message>
    <message>
        <source>a GeoTIFF or any raster GDAL reads</source>
        <translation>um GeoTIFF ou qualquer raster que o GDAL leia</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Procurar…</translation>
    </message>
    <message>
        <source>Sites:</source>
        <translation>Pontos:</translation>
    </message>
    <message>
        <source>CSV with x,y columns, GeoPackage, shapefile or GeoJSON points</source>
        <translation>Pontos em CSV com colunas x,y, GeoPackage, shapefile ou GeoJSON</translation>
    </message>
    <message>
        <source>Coordinates of a CSV:</source>
        <translation>Coordenadas de um CSV:</translation>
    </message>
    <message>
        <source>the map&apos;s; EPSG:4326 for longitude and latitude</source>
        <translation>as do mapa; EPSG:4326 para longitude e latitude</translation>
    </message>
    <message>
        <source>Buffers</source>
        <translation>Buffers</translation>
    </message>
    <message>
        <source>Radii (map units):</source>
        <translation>Raios (unidades do mapa):</translation>
    </message>
    <message>
        <source>250, 500, 1000</source>
        <translation>250, 500, 1000</translation>
    </message>
    <message>
        <source>Numbers above 0, separated by commas or blanks; metres for a projected map</source>
        <translation>Números acima de 0, separados por vírgulas ou espaços; metros para um mapa projetado</translation>
    </message>
    <message>
        <source>Shape:</source>
        <translation>Forma:</translation>
    </message>
    <message>
        <source>Circle (cells whose centres lie within the radius)</source>
        <translation>Círculo (células cujo centro está dentro do raio)</translation>
    </message>
    <message>
        <source>Square (half-side the radius)</source>
        <translation>Quadrado (meio lado igual ao raio)</translation>
    </message>
    <message>
        <source>Habitat classes:</source>
        <translation>Classes de habitat:</translation>
    </message>
    <message>
        <source>empty: the map&apos;s own classes; or e.g. 41-43</source>
        <translation>vazio: as próprias classes do mapa; ou p. ex. 41-43</translation>
    </message>
    <message>
        <source>Patch rule:</source>
        <translation>Regra de mancha:</translation>
    </message>
    <message>
        <source>8 neighbours</source>
        <translation>8 vizinhos</translation>
    </message>
    <message>
        <source>4 neighbours</source>
        <translation>4 vizinhos</translation>
    </message>
    <message>
        <source>Metrics</source>
        <translation>Métricas</translation>
    </message>
    <message>
        <source>The standard 26 class and landscape metrics</source>
        <translation>As 26 métricas padrão de classe e de paisagem</translation>
    </message>
    <message>
        <source>Only the metrics ticked below</source>
        <translation>Somente as métricas marcadas abaixo</translation>
    </message>
    <message>
        <source>Table:</source>
        <translation>Tabela:</translation>
    </message>
    <message>
        <source>SITES_metrics.csv beside the sites</source>
        <translation>PONTOS_metrics.csv ao lado dos pontos</translation>
    </message>
    <message>
        <source>The land-cover map to measure around the sites</source>
        <translation>O mapa de cobertura do solo a medir em torno dos pontos</translation>
    </message>
    <message>
        <source>Choose the land-cover map</source>
        <translation>Escolha o mapa de cobertura do solo</translation>
    </message>
    <message>
        <source>The sites: points in a CSV with x and y columns, a GeoPackage, shapefile or GeoJSON</source>
        <translation>Os pontos: em um CSV com colunas x e y, um GeoPackage, shapefile ou GeoJSON</translation>
    </message>
    <message>
        <source>Choose the file of the sites</source>
        <translation>Escolha o arquivo dos pontos</translation>
    </message>
    <message>
        <source>The coordinate system of a CSV&apos;s x and y, e.g. EPSG:4326; empty: the map&apos;s</source>
        <translation>O sistema de coordenadas de x e y de um CSV, p. ex. EPSG:4326; vazio: o do mapa</translation>
    </message>
    <message>
        <source>The shape of the buffer around each site</source>
        <translation>A forma do buffer em torno de cada ponto</translation>
    </message>
    <message>
        <source>The classes that count as habitat, e.g. 41-43; empty keeps the map&apos;s own classes</source>
        <translation>As classes que contam como habitat, p. ex. 41-43; vazio mantém as próprias classes do mapa</translation>
    </message>
    <message>
        <source>Whether cells touching at a corner belong to one patch (8) or not (4)</source>
        <translation>Se células que se tocam pelo canto pertencem à mesma mancha (8) ou não (4)</translation>
    </message>
    <message>
        <source>Measure the usual class and landscape metrics</source>
        <translation>Medir as métricas usuais de classe e de paisagem</translation>
    </message>
    <message>
        <source>Measure only the metrics ticked in the list</source>
        <translation>Medir somente as métricas marcadas na lista</translation>
    </message>
    <message>
        <source>Tick the metrics to measure</source>
        <translation>Marque as métricas a medir</translation>
    </message>
    <message>
        <source>The CSV table to write, one row per site, radius and metric</source>
        <translation>A tabela CSV a gravar, uma linha por ponto, raio e métrica</translation>
    </message>
    <message>
        <source>Choose where to save the table</source>
        <translation>Escolha onde salvar a tabela</translation>
    </message>
</context>
<context>
    <name>DialogSurface</name>
    <message>
        <source>Moving-window surface</source>
        <translation>Superfície de janela móvel</translation>
    </message>
    <message>
        <source>Land-cover map:</source>
        <translation>Mapa de cobertura do solo:</translation>
    </message>
    <message>
        <source>a GeoTIFF or any raster GDAL reads</source>
        <translation>um GeoTIFF ou qualquer raster que o GDAL leia</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Procurar…</translation>
    </message>
    <message>
        <source>Windows</source>
        <translation>Janelas</translation>
    </message>
    <message>
        <source>Window side (cells, odd):</source>
        <translation>Lado da janela (células, ímpar):</translation>
    </message>
    <message>
        <source>Shape:</source>
        <translation>Forma:</translation>
    </message>
    <message>
        <source>Square</source>
        <translation>Quadrado</translation>
    </message>
    <message>
        <source>Circle (cells within half the side of the centre)</source>
        <translation>Círculo (células a até meio lado do centro)</translation>
    </message>
    <message>
        <source>Step (every Nth row and column):</source>
        <translation>Passo (cada N-ésima linha e coluna):</translation>
    </message>
    <message>
        <source>Habitat classes:</source>
        <translation>Classes de habitat:</translation>
    </message>
    <message>
        <source>empty: the map&apos;s own classes; or e.g. 41-43</source>
        <translation>vazio: as próprias classes do mapa; ou p. ex. 41-43</translation>
    </message>
    <message>
        <source>Patch rule:</source>
        <translation>Regra de mancha:</translation>
    </message>
    <message>
        <source>8 neighbours</source>
        <translation>8 vizinhos</translation>
    </message>
    <message>
        <source>4 neighbours</source>
        <translation>4 vizinhos</translation>
    </message>
    <message>
        <source>Metrics: one band each, a class metric one band per class</source>
        <translation>Métricas: uma banda cada, uma métrica de classe uma banda por classe</translation>
    </message>
    <message>
        <source>Surface:</source>
        <translation>Superfície:</translation>
    </message>
    <message>
        <source>MAP_surface.tif beside the map</source>
        <translation>MAPA_surface.tif ao lado do mapa</translation>
    </message>
    <message>
        <source>The land-cover map to measure window by window</source>
        <translation>O mapa de cobertura do solo a medir janela a janela</translation>
    </message>
    <message>
        <source>Choose the land-cover map</source>
        <translation>Escolha o mapa de cobertura do solo</translation>
    </message>
    <message>
        <source>Side of the moving window in cells; odd, so that it has a centre cell</source>
        <translation>Lado da janela móvel em células; ímpar, para que tenha uma célula central</translation>
    </message>
    <message>
        <source>The shape of the moving window</source>
        <translation>A forma da janela móvel</translation>
    </message>
    <message>
        <source>Measure every Nth row and column: 1 measures every cell</source>
        <translation>Medir a cada N linhas e colunas: 1 mede todas as células</translation>
    </message>
    <message>
        <source>The classes that count as habitat, e.g. 41-43; empty keeps the map&apos;s own classes</source>
        <translation>As classes que contam como habitat, p. ex. 41-43; vazio mantém as próprias classes do mapa</translation>
    </message>
    <message>
        <source>Whether cells touching at a corner belong to one patch (8) or not (4)</source>
        <translation>Se células que se tocam pelo canto pertencem à mesma mancha (8) ou não (4)</translation>
    </message>
    <message>
        <source>Tick the metrics: each becomes a band of the surface</source>
        <translation>Marque as métricas: cada uma vira uma banda da superfície</translation>
    </message>
    <message>
        <source>The GeoTIFF to write</source>
        <translation>O GeoTIFF a gravar</translation>
    </message>
    <message>
        <source>Choose where to save the surface</source>
        <translation>Escolha onde salvar a superfície</translation>
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
        <translation>Lista de arquivos</translation>
    </message>
    <message>
        <source>Map</source>
        <translation>Mapa</translation>
    </message>
    <message>
        <source>Grid</source>
        <translation>Grade</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Arquivo</translation>
    </message>
    <message>
        <source>Create</source>
        <translation>Criar</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Configurações</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Ajuda</translation>
    </message>
    <message>
        <source>Random</source>
        <translation>Aleatórias…</translation>
    </message>
    <message>
        <source>Fractal</source>
        <translation>Fractais…</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Abrir…</translation>
    </message>
    <message>
        <source>Open directory</source>
        <translation>Abrir arquivos de paisagem</translation>
    </message>
    <message>
        <source>Ctrl+O</source>
        <translation>Ctrl+O</translation>
    </message>
    <message>
        <source>Clear List</source>
        <translation>Limpar lista</translation>
    </message>
    <message>
        <source>Export Picture…</source>
        <translation>Exportar figura…</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Sair</translation>
    </message>
    <message>
        <source>Ctrl+Q</source>
        <translation>Ctrl+Q</translation>
    </message>
    <message>
        <source>About Orvalis</source>
        <translation>Sobre o Orvalis</translation>
    </message>
    <message>
        <source>F1</source>
        <translation>F1</translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation>Parâmetros…</translation>
    </message>
    <message>
        <source>Sample</source>
        <translation>Amostrar…</translation>
    </message>
</context>
<context>
    <name>MapView</name>
    <message>
        <source>Reading the map was stopped.</source>
        <translation>A leitura do mapa foi interrompida.</translation>
    </message>
    <message>
        <source>habitat (dark pixels)</source>
        <translation>habitat (pixels escuros)</translation>
    </message>
    <message>
        <source>matrix (light pixels)</source>
        <translation>matriz (pixels claros)</translation>
    </message>
    <message>
        <source>Stop reading</source>
        <translation>Parar a leitura</translation>
    </message>
    <message>
        <source>1 sampled window</source>
        <translation>1 janela amostrada</translation>
    </message>
    <message>
        <source>%1 sampled windows</source>
        <translation>%1 janelas amostradas</translation>
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
        <translation>… e mais %1</translation>
    </message>
    <message>
        <source>NLCD land cover</source>
        <translation>Cobertura do solo NLCD</translation>
    </message>
    <message>
        <source>Classes</source>
        <translation>Classes</translation>
    </message>
    <message>
        <source>no data</source>
        <translation>sem dados</translation>
    </message>
    <message>
        <source>no data (%1)</source>
        <translation>sem dados (%1)</translation>
    </message>
    <message>
        <source>%1 %2</source>
        <translation>%1 %2</translation>
    </message>
    <message>
        <source>row %1, column %2: %3</source>
        <translation>linha %1, coluna %2: %3</translation>
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
        <translation>Aviso: o referenciamento do arquivo não dá o lado em metros (%1); defina-o aqui</translation>
    </message>
    <message>
        <source>from the sampling run&apos;s record</source>
        <translation>da ficha da amostragem</translation>
    </message>
    <message>
        <source>the sampling run&apos;s record gives %1 m</source>
        <translation>a ficha da amostragem dá %1 m</translation>
    </message>
    <message>
        <source>Areas and lengths assume cells of %1 m, a side the file does not give (%2).</source>
        <translation>Áreas e comprimentos supõem células de %1 m, um lado que o arquivo não informa (%2).</translation>
    </message>
</context>
<context>
    <name>NeutralAction</name>
    <message>
        <source>Neutral landscape…</source>
        <translation>Paisagem neutra…</translation>
    </message>
    <message>
        <source>The neutral landscapes were not made: %1</source>
        <translation>As paisagens neutras não foram feitas: %1</translation>
    </message>
    <message>
        <source>The neutral landscapes stopped: %1</source>
        <translation>A geração das paisagens neutras parou: %1</translation>
    </message>
</context>
<context>
    <name>dialogFbm</name>
    <message>
        <source>Fractal settings</source>
        <translation>Parâmetros fractais</translation>
    </message>
    <message>
        <source>Initial H</source>
        <translation>H inicial</translation>
    </message>
    <message>
        <source>Final H</source>
        <translation>H final</translation>
    </message>
    <message>
        <source>Step change in H</source>
        <translation>Passo de H</translation>
    </message>
    <message>
        <source>Cover mim</source>
        <translation>Cobertura mín.</translation>
    </message>
    <message>
        <source>Cover max</source>
        <translation>Cobertura máx.</translation>
    </message>
    <message>
        <source>Step change in cover</source>
        <translation>Passo da cobertura</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Tamanho</translation>
    </message>
    <message>
        <source>Number or replicates</source>
        <translation>Número de réplicas</translation>
    </message>
    <message>
        <source>TOTAL NUMBER OF FILES TO GENERATE:</source>
        <translation>Total de arquivos a gerar</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Pasta</translation>
    </message>
    <message>
        <source>...</source>
        <translation>Procurar…</translation>
    </message>
    <message>
        <source>Measure every landscape into metrics.csv in the folder</source>
        <translation>Medir cada paisagem em metrics.csv na pasta</translation>
    </message>
    <message>
        <source>Choose folder to generate files</source>
        <translation>Escolha a pasta onde gerar os arquivos</translation>
    </message>
    <message>
        <source>First Hurst exponent H (0 to 1): higher H gives smoother, more clumped habitat</source>
        <translation>Primeiro expoente de Hurst H (0 a 1): H maior dá habitat mais suave e agregado</translation>
    </message>
    <message>
        <source>Last Hurst exponent H of the series</source>
        <translation>Último expoente de Hurst H da série</translation>
    </message>
    <message>
        <source>Step between one H and the next</source>
        <translation>Passo entre um H e o seguinte</translation>
    </message>
    <message>
        <source>Lowest habitat cover, in whole percent</source>
        <translation>Menor cobertura de habitat, em porcentagem inteira</translation>
    </message>
    <message>
        <source>Highest habitat cover, in whole percent</source>
        <translation>Maior cobertura de habitat, em porcentagem inteira</translation>
    </message>
    <message>
        <source>Percent between one cover level and the next</source>
        <translation>Porcentagem entre um nível de cobertura e o seguinte</translation>
    </message>
    <message>
        <source>Side of each square landscape, in cells</source>
        <translation>Lado de cada paisagem quadrada, em células</translation>
    </message>
    <message>
        <source>How many surfaces for each H; each is cut at every cover level</source>
        <translation>Quantas superfícies para cada H; cada uma é cortada em todos os níveis de cobertura</translation>
    </message>
    <message>
        <source>Landscapes to write (computed)</source>
        <translation>Paisagens a gravar (calculado)</translation>
    </message>
    <message>
        <source>The folder the landscape files are written to</source>
        <translation>A pasta onde os arquivos de paisagem são gravados</translation>
    </message>
    <message>
        <source>Choose the folder for the landscape files</source>
        <translation>Escolha a pasta para os arquivos de paisagem</translation>
    </message>
    <message>
        <source>Also measure the landscape metrics of every landscape, into metrics.csv</source>
        <translation>Medir também as métricas de cada paisagem, em metrics.csv</translation>
    </message>
</context>
<context>
    <name>orvalis::charts</name>
    <message>
        <source>landscape level</source>
        <translation>nível de paisagem</translation>
    </message>
    <message>
        <source>class %1</source>
        <translation>classe %1</translation>
    </message>
    <message>
        <source>habitat (%1)</source>
        <translation>habitat (%1)</translation>
    </message>
    <message>
        <source>matrix (%1)</source>
        <translation>matriz (%1)</translation>
    </message>
    <message>
        <source>lines: medians; hatched bands: 2.5–97.5 % of the replicates; dots: real windows</source>
        <translation>linhas: medianas; faixas hachuradas: 2,5–97,5 % das réplicas; pontos: janelas reais</translation>
    </message>
    <message>
        <source>real windows (%1)</source>
        <translation>janelas reais (%1)</translation>
    </message>
    <message>
        <source>Habitat cover (%)</source>
        <translation>Cobertura de habitat (%)</translation>
    </message>
    <message>
        <source>Percolation of random landscapes: replicates whose habitat (class %1) spans</source>
        <translation>Percolação em paisagens aleatórias: réplicas cujo habitat (classe %1) percola</translation>
    </message>
    <message>
        <source>random replicates</source>
        <translation>réplicas aleatórias</translation>
    </message>
    <message>
        <source>4 neighbours</source>
        <translation>4 vizinhos</translation>
    </message>
    <message>
        <source>8 neighbours</source>
        <translation>8 vizinhos</translation>
    </message>
    <message>
        <source>threshold %1</source>
        <translation>limiar %1</translation>
    </message>
    <message>
        <source>Replicates spanning (%)</source>
        <translation>Réplicas percolantes (%)</translation>
    </message>
</context>
<context>
    <name>orvalis::messages</name>
    <message>
        <source>no folder was chosen for the window files</source>
        <translation>nenhuma pasta foi escolhida para os arquivos das janelas</translation>
    </message>
    <message>
        <source>the window must be at least 2 pixels wide</source>
        <translation>a janela deve ter pelo menos 2 pixels de largura</translation>
    </message>
    <message>
        <source>the cover step must be at least 1</source>
        <translation>o passo de cobertura deve ser pelo menos 1</translation>
    </message>
    <message>
        <source>a window of %1 pixels does not fit inside the image of %2</source>
        <translation>uma janela de %1 pixels não cabe na imagem de %2</translation>
    </message>
    <message>
        <source>every cover level got its replicates</source>
        <translation>todos os níveis de cobertura receberam suas réplicas</translation>
    </message>
    <message>
        <source>the search spent all its tries</source>
        <translation>a busca esgotou todas as tentativas</translation>
    </message>
    <message>
        <source>cancelled</source>
        <translation>cancelada</translation>
    </message>
    <message>
        <source>no window centre is left outside the minimum distance of the accepted ones</source>
        <translation>não resta centro de janela fora da distância mínima das já aceitas</translation>
    </message>
    <message>
        <source>no window centre is left: every possible centre lies within the minimum distance of an accepted window</source>
        <translation>não resta centro de janela: todo centro possível está dentro da distância mínima de uma janela aceita</translation>
    </message>
    <message>
        <source>sample.txt could not be created</source>
        <translation>não foi possível criar sample.txt</translation>
    </message>
    <message>
        <source>sample.txt could not be written</source>
        <translation>não foi possível gravar sample.txt</translation>
    </message>
    <message>
        <source>the batch list could not be written</source>
        <translation>não foi possível gravar a lista de lote</translation>
    </message>
    <message>
        <source>the metrics table could not be written</source>
        <translation>não foi possível gravar a tabela de métricas</translation>
    </message>
    <message>
        <source>a window file could not be written</source>
        <translation>não foi possível gravar um arquivo de janela</translation>
    </message>
    <message>
        <source>no image loaded</source>
        <translation>nenhuma imagem carregada</translation>
    </message>
    <message>
        <source>bad parameters</source>
        <translation>parâmetros inválidos</translation>
    </message>
    <message>
        <source>another run writes into the same folder</source>
        <translation>outra execução grava na mesma pasta</translation>
    </message>
    <message>
        <source>habitat classes are for land-cover maps: in a TGA image the dark pixels are habitat</source>
        <translation>classes de habitat são para mapas de cobertura do solo: numa imagem TGA os pixels escuros são habitat</translation>
    </message>
    <message>
        <source>windows cut from a TGA image are written as text grids (txt) only</source>
        <translation>janelas recortadas de uma imagem TGA são gravadas só como grades de texto (txt)</translation>
    </message>
    <message>
        <source>a TGA image has no classes to keep: its windows hold the cover and matrix values</source>
        <translation>uma imagem TGA não tem classes a manter: suas janelas guardam os valores de cobertura e de matriz</translation>
    </message>
    <message>
        <source>the cover minimum %1 is above the maximum %2</source>
        <translation>a cobertura mínima %1 é maior que a máxima %2</translation>
    </message>
    <message>
        <source>landscapes of %1 cells hold nothing to measure</source>
        <translation>paisagens de %1 células não têm nada a medir</translation>
    </message>
    <message>
        <source>landscapes of %1 cells are too large to measure (at most %2 cells)</source>
        <translation>paisagens de %1 células são grandes demais para medir (no máximo %2 células)</translation>
    </message>
    <message>
        <source>invalid random series: the cover step must be at least 1 and sizes and replicates must not be negative</source>
        <translation>série aleatória inválida: o passo de cobertura deve ser pelo menos 1 e tamanhos e réplicas não podem ser negativos</translation>
    </message>
    <message>
        <source>the H range needs finite values and a step above 0</source>
        <translation>o intervalo de H exige valores finitos e um passo maior que 0</translation>
    </message>
    <message>
        <source>the H range asks for more than 100000 H values</source>
        <translation>o intervalo de H pede mais de 100000 valores de H</translation>
    </message>
    <message>
        <source>cover percentages must lie between 0 and 100</source>
        <translation>as porcentagens de cobertura devem estar entre 0 e 100</translation>
    </message>
    <message>
        <source>the size must be between 1 and %1 cells (got %2)</source>
        <translation>o tamanho deve estar entre 1 e %1 células (recebido: %2)</translation>
    </message>
    <message>
        <source>the number of replicates must be at least 1</source>
        <translation>o número de réplicas deve ser pelo menos 1</translation>
    </message>
    <message>
        <source>the number of jobs cannot be negative</source>
        <translation>o número de tarefas não pode ser negativo</translation>
    </message>
    <message>
        <source>H values %1 and %2 would share the file names of H %3; use a step of at least 0.01</source>
        <translation>os valores de H %1 e %2 teriam os mesmos nomes de arquivo de H %3; use um passo de pelo menos 0.01</translation>
    </message>
    <message>
        <source>no neutral model named</source>
        <translation>nenhum modelo neutro indicado</translation>
    </message>
    <message>
        <source>no neutral models named</source>
        <translation>nenhum modelo neutro indicado</translation>
    </message>
    <message>
        <source>cover levels must lie between 0 and 100 (got %1)</source>
        <translation>os níveis de cobertura devem estar entre 0 e 100 (recebido: %1)</translation>
    </message>
    <message>
        <source>a cover level is named twice: its files would overwrite each other</source>
        <translation>um nível de cobertura aparece duas vezes: seus arquivos se sobrescreveriam</translation>
    </message>
    <message>
        <source>the cover and matrix values must differ</source>
        <translation>os valores de cobertura e de matriz devem ser diferentes</translation>
    </message>
    <message>
        <source>the mask is not of %1 cells</source>
        <translation>a máscara não tem %1 células</translation>
    </message>
    <message>
        <source>the cell size must be above 0</source>
        <translation>o tamanho da célula deve ser maior que 0</translation>
    </message>
    <message>
        <source>name at least one cover level</source>
        <translation>indique pelo menos um nível de cobertura</translation>
    </message>
    <message>
        <source>&apos;%1&apos;: levels are MIN:MAX:STEP with 0 &lt;= MIN &lt;= MAX &lt;= 100 and STEP 1..100</source>
        <translation>&apos;%1&apos;: os níveis são MÍN:MÁX:PASSO com 0 &lt;= MÍN &lt;= MÁX &lt;= 100 e PASSO de 1 a 100</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a cover level, a whole percentage 0..100</source>
        <translation>&apos;%1&apos; não é um nível de cobertura, uma porcentagem inteira de 0 a 100</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a number</source>
        <translation>&apos;%1&apos; não é um número</translation>
    </message>
    <message>
        <source>%1 x %2 landscapes of %3 need about %4 GB with %5 job; %6 GB of memory are free</source>
        <translation>paisagens %1 x %2 de %3 precisam de cerca de %4 GB com %5 tarefa; há %6 GB de memória livres</translation>
    </message>
    <message>
        <source>%1 x %2 landscapes of %3 need about %4 GB with %5 jobs; %6 GB of memory are free</source>
        <translation>paisagens %1 x %2 de %3 precisam de cerca de %4 GB com %5 tarefas; há %6 GB de memória livres</translation>
    </message>
    <message>
        <source>no windows to compare</source>
        <translation>nenhuma janela a comparar</translation>
    </message>
    <message>
        <source>neighbours must be 4 or 8</source>
        <translation>a vizinhança deve ser 4 ou 8</translation>
    </message>
    <message>
        <source>two windows are named like %1: their kept landscapes would share names</source>
        <translation>duas janelas têm nome como %1: suas paisagens guardadas teriam o mesmo nome</translation>
    </message>
    <message>
        <source>none of the windows can be read (the first: %1)</source>
        <translation>nenhuma das janelas pode ser lida (a primeira: %1)</translation>
    </message>
    <message>
        <source>no metric to compute</source>
        <translation>nenhuma métrica a calcular</translation>
    </message>
    <message>
        <source>the cell size must be a positive number</source>
        <translation>o tamanho da célula deve ser um número positivo</translation>
    </message>
    <message>
        <source>a surface holds class and landscape metrics, one value per window: patch metrics have none</source>
        <translation>uma superfície contém métricas de classe e de paisagem, um valor por janela: métricas de mancha não têm</translation>
    </message>
    <message>
        <source>%1=%2 is outside %3</source>
        <translation>%1=%2 está fora de %3</translation>
    </message>
    <message>
        <source>%1=%2: &apos;%3&apos; is not a number</source>
        <translation>%1=%2: &apos;%3&apos; não é um número</translation>
    </message>
    <message>
        <source>%1=%2: &apos;%3&apos; is not a whole number</source>
        <translation>%1=%2: &apos;%3&apos; não é um número inteiro</translation>
    </message>
    <message>
        <source>cannot read the source grid %1: %2</source>
        <translation>não foi possível ler a grade de fontes %1: %2</translation>
    </message>
    <message>
        <source>the source grid %1 is not of %2 cells</source>
        <translation>a grade de fontes %1 não tem %2 células</translation>
    </message>
    <message>
        <source>the source grid %1 holds no source cell (a value other than 0 and no-data)</source>
        <translation>a grade de fontes %1 não tem célula-fonte (um valor diferente de 0 e de sem dados)</translation>
    </message>
    <message>
        <source>the folder %1 cannot be used: %2</source>
        <translation>a pasta %1 não pode ser usada: %2</translation>
    </message>
    <message>
        <source>the folder %1 takes no new files: %2</source>
        <translation>a pasta %1 não aceita novos arquivos: %2</translation>
    </message>
    <message>
        <source>%1 is not a folder</source>
        <translation>%1 não é uma pasta</translation>
    </message>
    <message>
        <source>the %1 holds a line break or another control character, which would break its lists</source>
        <translation>o %1 contém uma quebra de linha ou outro caractere de controle, o que quebraria suas listas</translation>
    </message>
    <message>
        <source>the file name %1 is longer than the %2 bytes the file system allows</source>
        <translation>o nome de arquivo %1 é mais longo que os %2 bytes que o sistema de arquivos permite</translation>
    </message>
    <message>
        <source>cannot open the folder %1: %2</source>
        <translation>não foi possível abrir a pasta %1: %2</translation>
    </message>
    <message>
        <source>cannot lock the folder %1: %2</source>
        <translation>não foi possível bloquear a pasta %1: %2</translation>
    </message>
    <message>
        <source>cannot create %1: %2</source>
        <translation>não foi possível criar %1: %2</translation>
    </message>
    <message>
        <source>cannot create %1</source>
        <translation>não foi possível criar %1</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>não foi possível gravar %1: %2</translation>
    </message>
    <message>
        <source>cannot write %1</source>
        <translation>não foi possível gravar %1</translation>
    </message>
    <message>
        <source>could not write %1: %2</source>
        <translation>não foi possível gravar %1: %2</translation>
    </message>
    <message>
        <source>could not write %1</source>
        <translation>não foi possível gravar %1</translation>
    </message>
    <message>
        <source>could not make %1: %2</source>
        <translation>não foi possível gerar %1: %2</translation>
    </message>
    <message>
        <source>could not measure %1: %2</source>
        <translation>não foi possível medir %1: %2</translation>
    </message>
    <message>
        <source>could not build the surface of H %1 number %2: %3</source>
        <translation>não foi possível construir a superfície de H %1 número %2: %3</translation>
    </message>
    <message>
        <source>cannot make %1: %2</source>
        <translation>não foi possível criar %1: %2</translation>
    </message>
    <message>
        <source>cannot remove %1 of the earlier comparison: %2</source>
        <translation>não foi possível remover %1 da comparação anterior: %2</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>não é um arquivo comum</translation>
    </message>
    <message>
        <source>no such file</source>
        <translation>arquivo inexistente</translation>
    </message>
    <message>
        <source>file too large (%1 bytes)</source>
        <translation>arquivo grande demais (%1 bytes)</translation>
    </message>
    <message>
        <source>it holds binary data, not a landscape grid</source>
        <translation>contém dados binários, não uma grade de paisagem</translation>
    </message>
    <message>
        <source>read error: %1</source>
        <translation>erro de leitura: %1</translation>
    </message>
    <message>
        <source>read error</source>
        <translation>erro de leitura</translation>
    </message>
    <message>
        <source>write failed: %1</source>
        <translation>falha na gravação: %1</translation>
    </message>
    <message>
        <source>out of memory</source>
        <translation>memória insuficiente</translation>
    </message>
    <message>
        <source>not a TGA image: the header is cut short</source>
        <translation>não é uma imagem TGA: o cabeçalho está incompleto</translation>
    </message>
    <message>
        <source>not an uncompressed 24- or 32-bit TGA image</source>
        <translation>não é uma imagem TGA sem compressão de 24 ou 32 bits</translation>
    </message>
    <message>
        <source>the TGA image is cut short</source>
        <translation>a imagem TGA está incompleta</translation>
    </message>
    <message>
        <source>no habitat class given</source>
        <translation>nenhuma classe de habitat indicada</translation>
    </message>
    <message>
        <source>item %1 is empty</source>
        <translation>o item %1 está vazio</translation>
    </message>
    <message>
        <source>the range %1 runs backwards</source>
        <translation>o intervalo %1 está invertido</translation>
    </message>
    <message>
        <source>more than %1 classes</source>
        <translation>mais de %1 classes</translation>
    </message>
    <message>
        <source>%1: %2; its parameters: %3</source>
        <translation>%1: %2; seus parâmetros: %3</translation>
    </message>
    <message>
        <source>%1 %2, default %3</source>
        <translation>%1 %2, padrão %3</translation>
    </message>
    <message>
        <source>%1 %2, drawn when absent</source>
        <translation>%1 %2, sorteado quando ausente</translation>
    </message>
    <message>
        <source>%1 %2, required</source>
        <translation>%1 %2, obrigatório</translation>
    </message>
    <message>
        <source>LIST, each %1</source>
        <translation>LISTA, cada %1</translation>
    </message>
    <message>
        <source>FILE</source>
        <translation>ARQUIVO</translation>
    </message>
    <message>
        <source>%1=%2 is not one of %3</source>
        <translation>%1=%2 não é um de %3</translation>
    </message>
    <message>
        <source>%1 needs a file name</source>
        <translation>%1 precisa de um nome de arquivo</translation>
    </message>
    <message>
        <source>%1 takes no parameters (&apos;%2&apos;)</source>
        <translation>%1 não recebe parâmetros (&apos;%2&apos;)</translation>
    </message>
    <message>
        <source>an empty parameter</source>
        <translation>um parâmetro vazio</translation>
    </message>
    <message>
        <source>unknown parameter &apos;%1&apos;</source>
        <translation>parâmetro desconhecido &apos;%1&apos;</translation>
    </message>
    <message>
        <source>%1 is required, in %2</source>
        <translation>%1 é obrigatório, em %2</translation>
    </message>
    <message>
        <source>min=%1 is above max=%2</source>
        <translation>min=%1 é maior que max=%2</translation>
    </message>
    <message>
        <source>proportions and subdivisions must have as many levels (%1 and %2)</source>
        <translation>proportions e subdivisions devem ter o mesmo número de níveis (%1 e %2)</translation>
    </message>
    <message>
        <source>the subdivisions make %1 blocks a side; at most 4096</source>
        <translation>as subdivisões formam %1 blocos por lado; no máximo 4096</translation>
    </message>
    <message>
        <source>periods x lacunarity^(octaves - 1) is above 1024</source>
        <translation>periods x lacunarity^(octaves - 1) é maior que 1024</translation>
    </message>
    <message>
        <source>unknown neutral model &apos;%1&apos; (models: %2)</source>
        <translation>modelo neutro desconhecido &apos;%1&apos; (modelos: %2)</translation>
    </message>
    <message>
        <source>a landscape needs at least one row and one column</source>
        <translation>uma paisagem precisa de pelo menos uma linha e uma coluna</translation>
    </message>
    <message>
        <source>%1 x %2 cells is above the %3 cells a landscape may hold</source>
        <translation>%1 x %2 células ultrapassam as %3 células que uma paisagem pode ter</translation>
    </message>
    <message>
        <source>%1 makes landscapes of at most %2 cells a side</source>
        <translation>%1 gera paisagens de no máximo %2 células por lado</translation>
    </message>
    <message>
        <source>%1 cannot be opened as a map: %2</source>
        <translation>%1 não pode ser aberto como mapa: %2</translation>
    </message>
    <message>
        <source>no raster format knows it</source>
        <translation>nenhum formato raster o reconhece</translation>
    </message>
    <message>
        <source>band %1 does not exist: %2 has %3</source>
        <translation>a banda %1 não existe: %2 tem %3</translation>
    </message>
    <message>
        <source>no map is open</source>
        <translation>nenhum mapa está aberto</translation>
    </message>
    <message>
        <source>reading %1 failed: %2</source>
        <translation>a leitura de %1 falhou: %2</translation>
    </message>
    <message>
        <source>reading %1 was stopped</source>
        <translation>a leitura de %1 foi interrompida</translation>
    </message>
    <message>
        <source>counting the classes of %1 was stopped</source>
        <translation>a contagem das classes de %1 foi interrompida</translation>
    </message>
    <message>
        <source>counting the classes of %1 failed: %2</source>
        <translation>a contagem das classes de %1 falhou: %2</translation>
    </message>
    <message>
        <source>the window lies outside the map</source>
        <translation>a janela está fora do mapa</translation>
    </message>
    <message>
        <source>its cells are rotated or not square</source>
        <translation>suas células estão rotacionadas ou não são quadradas</translation>
    </message>
    <message>
        <source>it has no coordinate system</source>
        <translation>não tem sistema de coordenadas</translation>
    </message>
    <message>
        <source>its coordinates are degrees</source>
        <translation>suas coordenadas estão em graus</translation>
    </message>
    <message>
        <source>GDAL cannot read it as a raster</source>
        <translation>o GDAL não consegue lê-lo como raster</translation>
    </message>
    <message>
        <source>it holds no band</source>
        <translation>não contém nenhuma banda</translation>
    </message>
    <message>
        <source>its cells could not be read</source>
        <translation>não foi possível ler suas células</translation>
    </message>
    <message>
        <source>a text grid knows no cell size</source>
        <translation>uma grade de texto não informa o tamanho da célula</translation>
    </message>
    <message>
        <source>its frame gives no cell size</source>
        <translation>seu georreferenciamento não informa o tamanho da célula</translation>
    </message>
    <message>
        <source>a land-cover map needs its habitat classes (for example 41-43 for NLCD forest)</source>
        <translation>um mapa de cobertura do solo precisa de suas classes de habitat (por exemplo 41-43 para floresta no NLCD)</translation>
    </message>
    <message>
        <source>the map is too large to sample</source>
        <translation>o mapa é grande demais para amostrar</translation>
    </message>
    <message>
        <source>every cell of the map is no-data: there is nothing to sample</source>
        <translation>todas as células do mapa são sem dados: não há nada a amostrar</translation>
    </message>
    <message>
        <source>the map&apos;s coordinate system is geographic (degrees): cell sizes and areas of its windows are not metric</source>
        <translation>o sistema de coordenadas do mapa é geográfico (graus): tamanhos de célula e áreas de suas janelas não são métricos</translation>
    </message>
    <message>
        <source>habitat class %1 does not occur in the map</source>
        <translation>a classe de habitat %1 não ocorre no mapa</translation>
    </message>
    <message>
        <source>windows cannot be written: %1</source>
        <translation>as janelas não podem ser gravadas: %1</translation>
    </message>
    <message>
        <source>not a file: %1</source>
        <translation>não é um arquivo: %1</translation>
    </message>
    <message>
        <source>cannot open %1</source>
        <translation>não foi possível abrir %1</translation>
    </message>
    <message>
        <source>cannot read %1</source>
        <translation>não foi possível ler %1</translation>
    </message>
    <message>
        <source>line %1: %2</source>
        <translation>linha %1: %2</translation>
    </message>
    <message>
        <source>not NAME COVER X Y [MAPX MAPY]: %1</source>
        <translation>não está no formato NOME COBERTURA X Y [MAPX MAPY]: %1</translation>
    </message>
    <message>
        <source>binary data, not a landscape grid</source>
        <translation>dados binários, não uma grade de paisagem</translation>
    </message>
    <message>
        <source>no values</source>
        <translation>nenhum valor</translation>
    </message>
    <message>
        <source>the file holds no grid</source>
        <translation>o arquivo não contém grade</translation>
    </message>
    <message>
        <source>%1 is missing</source>
        <translation>%1 está ausente</translation>
    </message>
    <message>
        <source>%1 is longer than %2 bytes</source>
        <translation>%1 tem mais de %2 bytes</translation>
    </message>
    <message>
        <source>%1 holds control characters: the file is not text in UTF-8 or Latin-1</source>
        <translation>%1 contém caracteres de controle: o arquivo não é texto em UTF-8 nem em Latin-1</translation>
    </message>
    <message>
        <source>%1 is not a whole number</source>
        <translation>%1 não é um número inteiro</translation>
    </message>
    <message>
        <source>%1 is outside the range of whole numbers the program can hold</source>
        <translation>%1 está fora do intervalo de números inteiros que o programa comporta</translation>
    </message>
    <message>
        <source>%1 holds a line break or NUL character</source>
        <translation>%1 contém uma quebra de linha ou um caractere NUL</translation>
    </message>
    <message>
        <source>line %1 (%2)</source>
        <translation>linha %1 (%2)</translation>
    </message>
    <message>
        <source>the sample name</source>
        <translation>o nome da amostra</translation>
    </message>
    <message>
        <source>the sample post-string</source>
        <translation>o sufixo da amostra</translation>
    </message>
    <message>
        <source>the cover value</source>
        <translation>o valor de cobertura</translation>
    </message>
    <message>
        <source>the matrix value</source>
        <translation>o valor de matriz</translation>
    </message>
    <message>
        <source>sample name</source>
        <translation>nome da amostra</translation>
    </message>
    <message>
        <source>sample post-string</source>
        <translation>sufixo da amostra</translation>
    </message>
    <message>
        <source>cover value</source>
        <translation>valor de cobertura</translation>
    </message>
    <message>
        <source>matrix value</source>
        <translation>valor de matriz</translation>
    </message>
    <message>
        <source>post-string</source>
        <translation>sufixo</translation>
    </message>
    <message>
        <source>classes are whole numbers separated by commas, a range written FIRST-LAST (e.g. 11, 41-43, 90; negative classes keep their minus sign: -5--3 is -5 to -3, -5-3 is -5 to 3)</source>
        <translation>as classes são números inteiros separados por vírgulas, um intervalo escrito PRIMEIRA-ÚLTIMA (p. ex. 11, 41-43, 90; classes negativas mantêm o sinal de menos: -5--3 é de -5 a -3, -5-3 é de -5 a 3)</translation>
    </message>
    <message>
        <source>%1: classes are whole numbers separated by commas, a range written FIRST-LAST (e.g. 11, 41-43, 90; negative classes keep their minus sign: -5--3 is -5 to -3, -5-3 is -5 to 3).</source>
        <translation>%1: as classes são números inteiros separados por vírgulas, um intervalo escrito PRIMEIRA-ÚLTIMA (p. ex. 11, 41-43, 90; classes negativas mantêm o sinal de menos: -5--3 é de -5 a -3, -5-3 é de -5 a 3).</translation>
    </message>
</context>
<context>
    <name>orvalis::metrics</name>
    <message>
        <source>area and edge</source>
        <translation>área e borda</translation>
    </message>
    <message>
        <source>shape</source>
        <translation>forma</translation>
    </message>
    <message>
        <source>core area</source>
        <translation>área central</translation>
    </message>
    <message>
        <source>aggregation</source>
        <translation>agregação</translation>
    </message>
    <message>
        <source>diversity</source>
        <translation>diversidade</translation>
    </message>
    <message>
        <source>complexity</source>
        <translation>complexidade</translation>
    </message>
    <message>
        <source>patch area</source>
        <translation>área da mancha</translation>
    </message>
    <message>
        <source>ha</source>
        <translation>ha</translation>
    </message>
    <message>
        <source>cells of the patch x cell area</source>
        <translation>células da mancha x área da célula</translation>
    </message>
    <message>
        <source>core area index</source>
        <translation>índice de área central</translation>
    </message>
    <message>
        <source>%</source>
        <translation>%</translation>
    </message>
    <message>
        <source>core area / area x 100</source>
        <translation>área central / área x 100</translation>
    </message>
    <message>
        <source>related circumscribing circle</source>
        <translation>círculo circunscrito relacionado</translation>
    </message>
    <message>
        <source>1 - area / area of the smallest circle holding the outer corners of the patch&apos;s cells in its first and last rows and columns</source>
        <translation>1 - área / área do menor círculo que contém os cantos externos das células da mancha em suas primeiras e últimas linhas e colunas</translation>
    </message>
    <message>
        <source>contiguity index</source>
        <translation>índice de contiguidade</translation>
    </message>
    <message>
        <source>(mean over the patch&apos;s cells of the 3 x 3 template (1 centre, 2 sides, 1 corners) summed over its cells in the patch, minus 1) / 12</source>
        <translation>(média, sobre as células da mancha, do molde 3 x 3 (1 centro, 2 lados, 1 cantos) somado sobre suas células na mancha, menos 1) / 12</translation>
    </message>
    <message>
        <source>cells of the patch more than --edge-depth steps across cell sides from any cell outside it (the map&apos;s edge is outside unless --consider-boundary) x cell area</source>
        <translation>células da mancha a mais de --edge-depth passos, atravessando lados de células, de qualquer célula fora dela (a borda do mapa conta como fora, salvo com --consider-boundary) x área da célula</translation>
    </message>
    <message>
        <source>Euclidean nearest-neighbour distance</source>
        <translation>distância euclidiana ao vizinho mais próximo</translation>
    </message>
    <message>
        <source>m</source>
        <translation>m</translation>
    </message>
    <message>
        <source>shortest distance between the centres of a cell of the patch and a cell of another patch of its class; NA when its class has one patch</source>
        <translation>menor distância entre os centros de uma célula da mancha e de uma célula de outra mancha da mesma classe; NA quando a classe tem uma só mancha</translation>
    </message>
    <message>
        <source>fractal dimension index</source>
        <translation>índice de dimensão fractal</translation>
    </message>
    <message>
        <source>2 ln(0.25 x perimeter) / ln(area), perimeter in m and area in m²; 1 for a one-cell patch of 1 m</source>
        <translation>2 ln(0,25 x perímetro) / ln(área), perímetro em m e área em m²; 1 para uma mancha de uma célula de 1 m</translation>
    </message>
    <message>
        <source>radius of gyration</source>
        <translation>raio de giração</translation>
    </message>
    <message>
        <source>mean distance between the patch&apos;s cell centres and their centroid (with --cell-center, the patch&apos;s cell nearest it)</source>
        <translation>distância média entre os centros das células da mancha e seu centroide (com --cell-center, a célula da mancha mais próxima dele)</translation>
    </message>
    <message>
        <source>number of core areas</source>
        <translation>número de áreas centrais</translation>
    </message>
    <message>
        <source>disjunct core areas of the patch, their cells joined by the patch rule</source>
        <translation>áreas centrais disjuntas da mancha, com as células unidas pela regra de mancha</translation>
    </message>
    <message>
        <source>perimeter-area ratio</source>
        <translation>razão perímetro-área</translation>
    </message>
    <message>
        <source>m/m²</source>
        <translation>m/m²</translation>
    </message>
    <message>
        <source>perimeter (m) / area (m²)</source>
        <translation>perímetro (m) / área (m²)</translation>
    </message>
    <message>
        <source>patch perimeter</source>
        <translation>perímetro da mancha</translation>
    </message>
    <message>
        <source>sides of the patch&apos;s cells facing anything but the patch (other classes, the map&apos;s edge, no-data) x cell side</source>
        <translation>lados das células da mancha voltados para fora dela (outras classes, a borda do mapa, células sem dados) x lado da célula</translation>
    </message>
    <message>
        <source>shape index</source>
        <translation>índice de forma</translation>
    </message>
    <message>
        <source>0.25 x perimeter / sqrt(area), in cell sides and cells</source>
        <translation>0,25 x perímetro / sqrt(área), em lados de células e células</translation>
    </message>
    <message>
        <source>percentage of landscape</source>
        <translation>porcentagem da paisagem</translation>
    </message>
    <message>
        <source>cells of the class / cells of the landscape x 100</source>
        <translation>células da classe / células da paisagem x 100</translation>
    </message>
    <message>
        <source>number of patches</source>
        <translation>número de manchas</translation>
    </message>
    <message>
        <source>patches of the class</source>
        <translation>manchas da classe</translation>
    </message>
    <message>
        <source>patch density</source>
        <translation>densidade de manchas</translation>
    </message>
    <message>
        <source>per 100 ha</source>
        <translation>por 100 ha</translation>
    </message>
    <message>
        <source>patches of the class / landscape area (ha) x 100</source>
        <translation>manchas da classe / área da paisagem (ha) x 100</translation>
    </message>
    <message>
        <source>edge density</source>
        <translation>densidade de borda</translation>
    </message>
    <message>
        <source>m/ha</source>
        <translation>m/ha</translation>
    </message>
    <message>
        <source>total edge (te) / landscape area (ha)</source>
        <translation>borda total (te) / área da paisagem (ha)</translation>
    </message>
    <message>
        <source>largest patch index</source>
        <translation>índice da maior mancha</translation>
    </message>
    <message>
        <source>cells of the class&apos;s largest patch / cells of the landscape x 100</source>
        <translation>células da maior mancha da classe / células da paisagem x 100</translation>
    </message>
    <message>
        <source>mean of patch area</source>
        <translation>média da área da mancha</translation>
    </message>
    <message>
        <source>mean of patch area over the class&apos;s patches; NA when any is NA</source>
        <translation>média da área da mancha nas manchas da classe; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>standard deviation of patch area</source>
        <translation>desvio padrão da área da mancha</translation>
    </message>
    <message>
        <source>sample standard deviation (n - 1) of patch area over the class&apos;s patches; NA when any is NA</source>
        <translation>desvio padrão amostral (n - 1) da área da mancha nas manchas da classe; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>mean of Euclidean nearest-neighbour distance</source>
        <translation>média da distância euclidiana ao vizinho mais próximo</translation>
    </message>
    <message>
        <source>mean of Euclidean nearest-neighbour distance over the class&apos;s patches; NA when any is NA</source>
        <translation>média da distância euclidiana ao vizinho mais próximo nas manchas da classe; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>patch cohesion index</source>
        <translation>índice de coesão das manchas</translation>
    </message>
    <message>
        <source>(1 - sum p / sum p sqrt(a)) / (1 - 1 / sqrt(N)) x 100 over the class&apos;s patches, p their perimeters in cell sides (the map&apos;s edge and no-data included), a their cells, N the landscape&apos;s cells; NA on a one-cell map</source>
        <translation>(1 - soma p / soma p sqrt(a)) / (1 - 1 / sqrt(N)) x 100 sobre as manchas da classe, p seus perímetros em lados de células (incluídas a borda do mapa e as células sem dados), a suas células, N as células da paisagem; NA num mapa de uma célula</translation>
    </message>
    <message>
        <source>aggregation index</source>
        <translation>índice de agregação</translation>
    </message>
    <message>
        <source>like sides / the most like sides as many cells can share x 100; NA for a class of one cell</source>
        <translation>lados semelhantes / o máximo de lados semelhantes que o mesmo número de células pode compartilhar x 100; NA para uma classe de uma célula</translation>
    </message>
    <message>
        <source>clumpiness index</source>
        <translation>índice de agrupamento</translation>
    </message>
    <message>
        <source>G = like sides x 2 / (4 n - shortest perimeter of n cells), P = share of the class: (G - P) / P when G &lt; P and P &lt; 0.5, else (G - P) / (1 - P); -1 is maximally dispersed, 1 maximally clumped; NA for one cell or the whole map</source>
        <translation>G = lados semelhantes x 2 / (4 n - menor perímetro de n células), P = proporção da classe: (G - P) / P quando G &lt; P e P &lt; 0,5, senão (G - P) / (1 - P); -1 é o máximo de dispersão, 1 o máximo de agrupamento; NA para uma célula ou para o mapa inteiro</translation>
    </message>
    <message>
        <source>effective mesh size</source>
        <translation>tamanho efetivo de malha</translation>
    </message>
    <message>
        <source>sum of squared patch areas / landscape area</source>
        <translation>soma dos quadrados das áreas das manchas / área da paisagem</translation>
    </message>
    <message>
        <source>landscape division index</source>
        <translation>índice de divisão da paisagem</translation>
    </message>
    <message>
        <source>1 - sum of squared patch areas / landscape area²</source>
        <translation>1 - soma dos quadrados das áreas das manchas / área da paisagem²</translation>
    </message>
    <message>
        <source>splitting index</source>
        <translation>índice de separação</translation>
    </message>
    <message>
        <source>landscape area² / sum of squared patch areas</source>
        <translation>área da paisagem² / soma dos quadrados das áreas das manchas</translation>
    </message>
    <message>
        <source>area-weighted mean radius of gyration</source>
        <translation>raio de giração médio ponderado pela área</translation>
    </message>
    <message>
        <source>mean of the patches&apos; gyrate weighted by their areas</source>
        <translation>média do gyrate das manchas ponderada por suas áreas</translation>
    </message>
    <message>
        <source>spanning cluster</source>
        <translation>aglomerado percolante</translation>
    </message>
    <message>
        <source>1 when one patch of the class touches both the top and bottom rows, or both the left and right columns; else 0</source>
        <translation>1 quando uma mancha da classe toca a primeira e a última linha, ou a primeira e a última coluna; senão 0</translation>
    </message>
    <message>
        <source>coefficient of variation of patch area</source>
        <translation>coeficiente de variação da área da mancha</translation>
    </message>
    <message>
        <source>sd / mean x 100 of patch area over the class&apos;s patches; NA when any is NA</source>
        <translation>sd / média x 100 da área da mancha nas manchas da classe; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>total (class) area</source>
        <translation>área total (da classe)</translation>
    </message>
    <message>
        <source>cells of the class x cell area</source>
        <translation>células da classe x área da célula</translation>
    </message>
    <message>
        <source>coefficient of variation of core area index</source>
        <translation>coeficiente de variação do índice de área central</translation>
    </message>
    <message>
        <source>sd / mean x 100 of core area index over the class&apos;s patches; NA when any is NA</source>
        <translation>sd / média x 100 do índice de área central nas manchas da classe; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>mean of core area index</source>
        <translation>média do índice de área central</translation>
    </message>
    <message>
        <source>mean of core area index over the class&apos;s patches; NA when any is NA</source>
        <translation>média do índice de área central nas manchas da classe; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>standard deviation of core area index</source>
        <translation>desvio padrão do índice de área central</translation>
    </message>
    <message>
        <source>sample standard deviation (n - 1) of core area index over the class&apos;s patches; NA when any is NA</source>
        <translation>desvio padrão amostral (n - 1) do índice de área central nas manchas da classe; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>coefficient of variation of related circumscribing circle</source>
        <translation>coeficiente de variação do círculo circunscrito relacionado</translation>
    </message>
    <message>
        <source>sd / mean x 100 of related circumscribing circle over the class&apos;s patches; NA when any is NA</source>
        <translation>sd / média x 100 do círculo circunscrito relacionado nas manchas da classe; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>mean of related circumscribing circle</source>
        <translation>média do círculo circunscrito relacionado</translation>
    </message>
    <message>
        <source>mean of related circumscribing circle over the class&apos;s patches; NA when any is NA</source>
        <translation>média do círculo circunscrito relacionado nas manchas da classe; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>standard deviation of related circumscribing circle</source>
        <translation>desvio padrão do círculo circunscrito relacionado</translation>
    </message>
    <message>
        <source>sample standard deviation (n - 1) of related circumscribing circle over the class&apos;s patches; NA when any is NA</source>
        <translation>desvio padrão amostral (n - 1) do círculo circunscrito relacionado nas manchas da classe; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>coefficient of variation of contiguity index</source>
        <translation>coeficiente de variação do índice de contiguidade</translation>
    </message>
    <message>
        <source>sd / mean x 100 of contiguity index over the class&apos;s patches; NA when any is NA</source>
        <translation>sd / média x 100 do índice de contiguidade nas manchas da classe; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>mean of contiguity index</source>
        <translation>média do índice de contiguidade</translation>
    </message>
    <message>
        <source>mean of contiguity index over the class&apos;s patches; NA when any is NA</source>
        <translation>média do índice de contiguidade nas manchas da classe; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>standard deviation of contiguity index</source>
        <translation>desvio padrão do índice de contiguidade</translation>
    </message>
    <message>
        <source>sample standard deviation (n - 1) of contiguity index over the class&apos;s patches; NA when any is NA</source>
        <translation>desvio padrão amostral (n - 1) do índice de contiguidade nas manchas da classe; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>coefficient of variation of core area</source>
        <translation>coeficiente de variação da área central</translation>
    </message>
    <message>
        <source>sd / mean x 100 of core area over the class&apos;s patches; NA when any is NA</source>
        <translation>sd / média x 100 da área central nas manchas da classe; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>mean of core area</source>
        <translation>média da área central</translation>
    </message>
    <message>
        <source>mean of core area over the class&apos;s patches; NA when any is NA</source>
        <translation>média da área central nas manchas da classe; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>standard deviation of core area</source>
        <translation>desvio padrão da área central</translation>
    </message>
    <message>
        <source>sample standard deviation (n - 1) of core area over the class&apos;s patches; NA when any is NA</source>
        <translation>desvio padrão amostral (n - 1) da área central nas manchas da classe; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>core area percentage of landscape</source>
        <translation>porcentagem de área central da paisagem</translation>
    </message>
    <message>
        <source>core cells of the class / cells of the landscape x 100</source>
        <translation>células centrais da classe / células da paisagem x 100</translation>
    </message>
    <message>
        <source>disjunct core area density</source>
        <translation>densidade de áreas centrais disjuntas</translation>
    </message>
    <message>
        <source>ndca / landscape area (ha) x 100</source>
        <translation>ndca / área da paisagem (ha) x 100</translation>
    </message>
    <message>
        <source>coefficient of variation of number of disjunct core areas per patch</source>
        <translation>coeficiente de variação do número de áreas centrais disjuntas por mancha</translation>
    </message>
    <message>
        <source>sd / mean x 100 of number of disjunct core areas per patch over the class&apos;s patches; NA when any is NA</source>
        <translation>sd / média x 100 do número de áreas centrais disjuntas por mancha nas manchas da classe; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>mean of number of disjunct core areas per patch</source>
        <translation>média do número de áreas centrais disjuntas por mancha</translation>
    </message>
    <message>
        <source>mean of number of disjunct core areas per patch over the class&apos;s patches; NA when any is NA</source>
        <translation>média do número de áreas centrais disjuntas por mancha nas manchas da classe; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>standard deviation of number of disjunct core areas per patch</source>
        <translation>desvio padrão do número de áreas centrais disjuntas por mancha</translation>
    </message>
    <message>
        <source>sample standard deviation (n - 1) of number of disjunct core areas per patch over the class&apos;s patches; NA when any is NA</source>
        <translation>desvio padrão amostral (n - 1) do número de áreas centrais disjuntas por mancha nas manchas da classe; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>coefficient of variation of Euclidean nearest-neighbour distance</source>
        <translation>coeficiente de variação da distância euclidiana ao vizinho mais próximo</translation>
    </message>
    <message>
        <source>sd / mean x 100 of Euclidean nearest-neighbour distance over the class&apos;s patches; NA when any is NA</source>
        <translation>sd / média x 100 da distância euclidiana ao vizinho mais próximo nas manchas da classe; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>standard deviation of Euclidean nearest-neighbour distance</source>
        <translation>desvio padrão da distância euclidiana ao vizinho mais próximo</translation>
    </message>
    <message>
        <source>sample standard deviation (n - 1) of Euclidean nearest-neighbour distance over the class&apos;s patches; NA when any is NA</source>
        <translation>desvio padrão amostral (n - 1) da distância euclidiana ao vizinho mais próximo nas manchas da classe; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>coefficient of variation of fractal dimension index</source>
        <translation>coeficiente de variação do índice de dimensão fractal</translation>
    </message>
    <message>
        <source>sd / mean x 100 of fractal dimension index over the class&apos;s patches; NA when any is NA</source>
        <translation>sd / média x 100 do índice de dimensão fractal nas manchas da classe; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>mean of fractal dimension index</source>
        <translation>média do índice de dimensão fractal</translation>
    </message>
    <message>
        <source>mean of fractal dimension index over the class&apos;s patches; NA when any is NA</source>
        <translation>média do índice de dimensão fractal nas manchas da classe; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>standard deviation of fractal dimension index</source>
        <translation>desvio padrão do índice de dimensão fractal</translation>
    </message>
    <message>
        <source>sample standard deviation (n - 1) of fractal dimension index over the class&apos;s patches; NA when any is NA</source>
        <translation>desvio padrão amostral (n - 1) do índice de dimensão fractal nas manchas da classe; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>coefficient of variation of radius of gyration</source>
        <translation>coeficiente de variação do raio de giração</translation>
    </message>
    <message>
        <source>sd / mean x 100 of radius of gyration over the class&apos;s patches; NA when any is NA</source>
        <translation>sd / média x 100 do raio de giração nas manchas da classe; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>mean of radius of gyration</source>
        <translation>média do raio de giração</translation>
    </message>
    <message>
        <source>mean of radius of gyration over the class&apos;s patches; NA when any is NA</source>
        <translation>média do raio de giração nas manchas da classe; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>standard deviation of radius of gyration</source>
        <translation>desvio padrão do raio de giração</translation>
    </message>
    <message>
        <source>sample standard deviation (n - 1) of radius of gyration over the class&apos;s patches; NA when any is NA</source>
        <translation>desvio padrão amostral (n - 1) do raio de giração nas manchas da classe; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>interspersion and juxtaposition index</source>
        <translation>índice de interspersão e justaposição</translation>
    </message>
    <message>
        <source>evenness of the class&apos;s sides among the other classes: -sum e ln e / ln(m - 1) x 100, e the shares of its sides facing each other class; NA with fewer than 3 classes</source>
        <translation>equabilidade dos lados da classe entre as demais classes: -soma e ln e / ln(m - 1) x 100, e as proporções de seus lados voltados para cada outra classe; NA com menos de 3 classes</translation>
    </message>
    <message>
        <source>landscape shape index</source>
        <translation>índice de forma da paisagem</translation>
    </message>
    <message>
        <source>sides of the class&apos;s outline (other classes, the map&apos;s edge, no-data) / shortest perimeter of as many cells</source>
        <translation>lados do contorno da classe (outras classes, a borda do mapa, células sem dados) / menor perímetro do mesmo número de células</translation>
    </message>
    <message>
        <source>number of disjunct core areas</source>
        <translation>número de áreas centrais disjuntas</translation>
    </message>
    <message>
        <source>disjunct core areas of the class&apos;s patches</source>
        <translation>áreas centrais disjuntas das manchas da classe</translation>
    </message>
    <message>
        <source>normalized landscape shape index</source>
        <translation>índice de forma da paisagem normalizado</translation>
    </message>
    <message>
        <source>(outline - shortest) / (longest - shortest outline as many cells can have in this landscape); NA when undefined</source>
        <translation>(contorno - menor) / (maior - menor contorno que o mesmo número de células pode ter nesta paisagem); NA quando indefinido</translation>
    </message>
    <message>
        <source>perimeter-area fractal dimension</source>
        <translation>dimensão fractal perímetro-área</translation>
    </message>
    <message>
        <source>2 / slope of ln(area) regressed on ln(perimeter) over the class&apos;s patches; NA below 10 patches</source>
        <translation>2 / inclinação da regressão de ln(área) sobre ln(perímetro) nas manchas da classe; NA com menos de 10 manchas</translation>
    </message>
    <message>
        <source>coefficient of variation of perimeter-area ratio</source>
        <translation>coeficiente de variação da razão perímetro-área</translation>
    </message>
    <message>
        <source>sd / mean x 100 of perimeter-area ratio over the class&apos;s patches; NA when any is NA</source>
        <translation>sd / média x 100 da razão perímetro-área nas manchas da classe; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>mean of perimeter-area ratio</source>
        <translation>média da razão perímetro-área</translation>
    </message>
    <message>
        <source>mean of perimeter-area ratio over the class&apos;s patches; NA when any is NA</source>
        <translation>média da razão perímetro-área nas manchas da classe; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>standard deviation of perimeter-area ratio</source>
        <translation>desvio padrão da razão perímetro-área</translation>
    </message>
    <message>
        <source>sample standard deviation (n - 1) of perimeter-area ratio over the class&apos;s patches; NA when any is NA</source>
        <translation>desvio padrão amostral (n - 1) da razão perímetro-área nas manchas da classe; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>percentage of like adjacencies</source>
        <translation>porcentagem de adjacências semelhantes</translation>
    </message>
    <message>
        <source>like sides counted both ways / all sides of the class&apos;s cells (the map&apos;s edge and no-data included) x 100</source>
        <translation>lados semelhantes contados nos dois sentidos / todos os lados das células da classe (incluídas a borda do mapa e as células sem dados) x 100</translation>
    </message>
    <message>
        <source>coefficient of variation of shape index</source>
        <translation>coeficiente de variação do índice de forma</translation>
    </message>
    <message>
        <source>sd / mean x 100 of shape index over the class&apos;s patches; NA when any is NA</source>
        <translation>sd / média x 100 do índice de forma nas manchas da classe; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>mean of shape index</source>
        <translation>média do índice de forma</translation>
    </message>
    <message>
        <source>mean of shape index over the class&apos;s patches; NA when any is NA</source>
        <translation>média do índice de forma nas manchas da classe; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>standard deviation of shape index</source>
        <translation>desvio padrão do índice de forma</translation>
    </message>
    <message>
        <source>sample standard deviation (n - 1) of shape index over the class&apos;s patches; NA when any is NA</source>
        <translation>desvio padrão amostral (n - 1) do índice de forma nas manchas da classe; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>total core area</source>
        <translation>área central total</translation>
    </message>
    <message>
        <source>core cells of the class&apos;s patches x cell area</source>
        <translation>células centrais das manchas da classe x área da célula</translation>
    </message>
    <message>
        <source>total edge</source>
        <translation>borda total</translation>
    </message>
    <message>
        <source>sides between the class and other classes x cell side (with --count-boundary also those on the map&apos;s edge and facing no-data)</source>
        <translation>lados entre a classe e outras classes x lado da célula (com --count-boundary também os da borda do mapa e os voltados para células sem dados)</translation>
    </message>
    <message>
        <source>total area</source>
        <translation>área total</translation>
    </message>
    <message>
        <source>cells of the landscape x cell area</source>
        <translation>células da paisagem x área da célula</translation>
    </message>
    <message>
        <source>patches of every class</source>
        <translation>manchas de todas as classes</translation>
    </message>
    <message>
        <source>patches / landscape area (ha) x 100</source>
        <translation>manchas / área da paisagem (ha) x 100</translation>
    </message>
    <message>
        <source>cells of the largest patch / cells of the landscape x 100</source>
        <translation>células da maior mancha / células da paisagem x 100</translation>
    </message>
    <message>
        <source>contagion</source>
        <translation>contágio</translation>
    </message>
    <message>
        <source>(1 + sum g ln g / (2 ln m)) x 100, g the shares of the adjacency matrix (sides counted both ways, like sides on the diagonal, neither the map&apos;s edge nor no-data); NA with fewer than 2 classes</source>
        <translation>(1 + soma g ln g / (2 ln m)) x 100, g as proporções da matriz de adjacência (lados contados nos dois sentidos, lados semelhantes na diagonal, sem a borda do mapa nem as células sem dados); NA com menos de 2 classes</translation>
    </message>
    <message>
        <source>Shannon&apos;s diversity index</source>
        <translation>índice de diversidade de Shannon</translation>
    </message>
    <message>
        <source>-sum p ln p over the classes&apos; shares</source>
        <translation>-soma p ln p sobre as proporções das classes</translation>
    </message>
    <message>
        <source>sum of the classes&apos; ai x their shares (a class with NA adds 0)</source>
        <translation>soma do ai das classes x suas proporções (uma classe com NA soma 0)</translation>
    </message>
    <message>
        <source>sd / mean x 100 of patch area over all patches; NA when any is NA</source>
        <translation>sd / média x 100 da área da mancha em todas as manchas; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>mean of patch area over all patches; NA when any is NA</source>
        <translation>média da área da mancha em todas as manchas; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>sample standard deviation (n - 1) of patch area over all patches; NA when any is NA</source>
        <translation>desvio padrão amostral (n - 1) da área da mancha em todas as manchas; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>sd / mean x 100 of core area index over all patches; NA when any is NA</source>
        <translation>sd / média x 100 do índice de área central em todas as manchas; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>mean of core area index over all patches; NA when any is NA</source>
        <translation>média do índice de área central em todas as manchas; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>sample standard deviation (n - 1) of core area index over all patches; NA when any is NA</source>
        <translation>desvio padrão amostral (n - 1) do índice de área central em todas as manchas; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>sd / mean x 100 of related circumscribing circle over all patches; NA when any is NA</source>
        <translation>sd / média x 100 do círculo circunscrito relacionado em todas as manchas; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>mean of related circumscribing circle over all patches; NA when any is NA</source>
        <translation>média do círculo circunscrito relacionado em todas as manchas; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>sample standard deviation (n - 1) of related circumscribing circle over all patches; NA when any is NA</source>
        <translation>desvio padrão amostral (n - 1) do círculo circunscrito relacionado em todas as manchas; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>cohesion over every patch</source>
        <translation>cohesion sobre todas as manchas</translation>
    </message>
    <message>
        <source>conditional entropy</source>
        <translation>entropia condicional</translation>
    </message>
    <message>
        <source>bits (--base)</source>
        <translation>bits (--base)</translation>
    </message>
    <message>
        <source>joint entropy - marginal entropy</source>
        <translation>entropia conjunta - entropia marginal</translation>
    </message>
    <message>
        <source>sd / mean x 100 of contiguity index over all patches; NA when any is NA</source>
        <translation>sd / média x 100 do índice de contiguidade em todas as manchas; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>mean of contiguity index over all patches; NA when any is NA</source>
        <translation>média do índice de contiguidade em todas as manchas; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>sample standard deviation (n - 1) of contiguity index over all patches; NA when any is NA</source>
        <translation>desvio padrão amostral (n - 1) do índice de contiguidade em todas as manchas; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>sd / mean x 100 of core area over all patches; NA when any is NA</source>
        <translation>sd / média x 100 da área central em todas as manchas; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>mean of core area over all patches; NA when any is NA</source>
        <translation>média da área central em todas as manchas; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>sample standard deviation (n - 1) of core area over all patches; NA when any is NA</source>
        <translation>desvio padrão amostral (n - 1) da área central em todas as manchas; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>sd / mean x 100 of number of disjunct core areas per patch over all patches; NA when any is NA</source>
        <translation>sd / média x 100 do número de áreas centrais disjuntas por mancha em todas as manchas; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>mean of number of disjunct core areas per patch over all patches; NA when any is NA</source>
        <translation>média do número de áreas centrais disjuntas por mancha em todas as manchas; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>sample standard deviation (n - 1) of number of disjunct core areas per patch over all patches; NA when any is NA</source>
        <translation>desvio padrão amostral (n - 1) do número de áreas centrais disjuntas por mancha em todas as manchas; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>sd / mean x 100 of Euclidean nearest-neighbour distance over all patches; NA when any is NA</source>
        <translation>sd / média x 100 da distância euclidiana ao vizinho mais próximo em todas as manchas; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>mean of Euclidean nearest-neighbour distance over all patches; NA when any is NA</source>
        <translation>média da distância euclidiana ao vizinho mais próximo em todas as manchas; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>sample standard deviation (n - 1) of Euclidean nearest-neighbour distance over all patches; NA when any is NA</source>
        <translation>desvio padrão amostral (n - 1) da distância euclidiana ao vizinho mais próximo em todas as manchas; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>marginal entropy</source>
        <translation>entropia marginal</translation>
    </message>
    <message>
        <source>entropy of the adjacency matrix&apos;s column sums (sides counted both ways, neither the map&apos;s edge nor no-data)</source>
        <translation>entropia das somas das colunas da matriz de adjacência (lados contados nos dois sentidos, sem a borda do mapa nem as células sem dados)</translation>
    </message>
    <message>
        <source>sd / mean x 100 of fractal dimension index over all patches; NA when any is NA</source>
        <translation>sd / média x 100 do índice de dimensão fractal em todas as manchas; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>mean of fractal dimension index over all patches; NA when any is NA</source>
        <translation>média do índice de dimensão fractal em todas as manchas; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>sample standard deviation (n - 1) of fractal dimension index over all patches; NA when any is NA</source>
        <translation>desvio padrão amostral (n - 1) do índice de dimensão fractal em todas as manchas; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>sd / mean x 100 of radius of gyration over all patches; NA when any is NA</source>
        <translation>sd / média x 100 do raio de giração em todas as manchas; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>mean of radius of gyration over all patches; NA when any is NA</source>
        <translation>média do raio de giração em todas as manchas; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>sample standard deviation (n - 1) of radius of gyration over all patches; NA when any is NA</source>
        <translation>desvio padrão amostral (n - 1) do raio de giração em todas as manchas; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>evenness of the sides between classes among the pairs of classes: -sum e ln e / ln(m (m - 1) / 2) x 100; NA with fewer than 3 classes</source>
        <translation>equabilidade dos lados entre classes entre os pares de classes: -soma e ln e / ln(m (m - 1) / 2) x 100; NA com menos de 3 classes</translation>
    </message>
    <message>
        <source>joint entropy</source>
        <translation>entropia conjunta</translation>
    </message>
    <message>
        <source>entropy of the adjacency matrix&apos;s entries</source>
        <translation>entropia dos elementos da matriz de adjacência</translation>
    </message>
    <message>
        <source>sides between classes, on the map&apos;s edge and facing no-data / shortest perimeter of the landscape&apos;s cells</source>
        <translation>lados entre classes, na borda do mapa e voltados para células sem dados / menor perímetro das células da paisagem</translation>
    </message>
    <message>
        <source>modified Simpson&apos;s diversity index</source>
        <translation>índice de diversidade de Simpson modificado</translation>
    </message>
    <message>
        <source>-ln sum p²</source>
        <translation>-ln soma p²</translation>
    </message>
    <message>
        <source>modified Simpson&apos;s evenness index</source>
        <translation>índice de equabilidade de Simpson modificado</translation>
    </message>
    <message>
        <source>msidi / ln m; NA with one class</source>
        <translation>msidi / ln m; NA com uma só classe</translation>
    </message>
    <message>
        <source>mutual information</source>
        <translation>informação mútua</translation>
    </message>
    <message>
        <source>marginal entropy - conditional entropy</source>
        <translation>entropia marginal - entropia condicional</translation>
    </message>
    <message>
        <source>disjunct core areas of every patch</source>
        <translation>áreas centrais disjuntas de todas as manchas</translation>
    </message>
    <message>
        <source>2 / slope of ln(area) regressed on ln(perimeter) over every patch; NA below 10 patches</source>
        <translation>2 / inclinação da regressão de ln(área) sobre ln(perímetro) em todas as manchas; NA com menos de 10 manchas</translation>
    </message>
    <message>
        <source>sd / mean x 100 of perimeter-area ratio over all patches; NA when any is NA</source>
        <translation>sd / média x 100 da razão perímetro-área em todas as manchas; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>mean of perimeter-area ratio over all patches; NA when any is NA</source>
        <translation>média da razão perímetro-área em todas as manchas; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>sample standard deviation (n - 1) of perimeter-area ratio over all patches; NA when any is NA</source>
        <translation>desvio padrão amostral (n - 1) da razão perímetro-área em todas as manchas; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>like sides / all sides (like sides and sides between classes counted both ways, the map&apos;s edge once; no-data left out) x 100</source>
        <translation>lados semelhantes / todos os lados (lados semelhantes e lados entre classes contados nos dois sentidos, a borda do mapa uma vez; sem as células sem dados) x 100</translation>
    </message>
    <message>
        <source>patch richness</source>
        <translation>riqueza de manchas</translation>
    </message>
    <message>
        <source>classes present</source>
        <translation>classes presentes</translation>
    </message>
    <message>
        <source>patch richness density</source>
        <translation>densidade de riqueza de manchas</translation>
    </message>
    <message>
        <source>classes / landscape area (ha) x 100</source>
        <translation>classes / área da paisagem (ha) x 100</translation>
    </message>
    <message>
        <source>relative mutual information</source>
        <translation>informação mútua relativa</translation>
    </message>
    <message>
        <source>mutual information / marginal entropy; 1 when the mutual information is 0</source>
        <translation>informação mútua / entropia marginal; 1 quando a informação mútua é 0</translation>
    </message>
    <message>
        <source>relative patch richness</source>
        <translation>riqueza relativa de manchas</translation>
    </message>
    <message>
        <source>classes / --classes-max x 100; NA without --classes-max</source>
        <translation>classes / --classes-max x 100; NA sem --classes-max</translation>
    </message>
    <message>
        <source>sd / mean x 100 of shape index over all patches; NA when any is NA</source>
        <translation>sd / média x 100 do índice de forma em todas as manchas; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>mean of shape index over all patches; NA when any is NA</source>
        <translation>média do índice de forma em todas as manchas; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>sample standard deviation (n - 1) of shape index over all patches; NA when any is NA</source>
        <translation>desvio padrão amostral (n - 1) do índice de forma em todas as manchas; NA quando alguma é NA</translation>
    </message>
    <message>
        <source>Shannon&apos;s evenness index</source>
        <translation>índice de equabilidade de Shannon</translation>
    </message>
    <message>
        <source>shdi / ln m; 0 with one class</source>
        <translation>shdi / ln m; 0 com uma só classe</translation>
    </message>
    <message>
        <source>Simpson&apos;s diversity index</source>
        <translation>índice de diversidade de Simpson</translation>
    </message>
    <message>
        <source>1 - sum p² over the classes&apos; shares</source>
        <translation>1 - soma p² sobre as proporções das classes</translation>
    </message>
    <message>
        <source>Simpson&apos;s evenness index</source>
        <translation>índice de equabilidade de Simpson</translation>
    </message>
    <message>
        <source>sidi / (1 - 1 / m); NA with one class</source>
        <translation>sidi / (1 - 1 / m); NA com uma só classe</translation>
    </message>
    <message>
        <source>core cells of every patch x cell area</source>
        <translation>células centrais de todas as manchas x área da célula</translation>
    </message>
    <message>
        <source>sides between different classes x cell side (with --count-boundary also those on the map&apos;s edge and facing no-data)</source>
        <translation>lados entre classes diferentes x lado da célula (com --count-boundary também os da borda do mapa e os voltados para células sem dados)</translation>
    </message>
</context>
<context>
    <name>orvalis::models</name>
    <message>
        <source>spatially random</source>
        <translation>espacialmente aleatório</translation>
    </message>
    <message>
        <source>midpoint displacement</source>
        <translation>deslocamento do ponto médio</translation>
    </message>
    <message>
        <source>Hurst exponent: higher is smoother</source>
        <translation>expoente de Hurst: maior é mais suave</translation>
    </message>
    <message>
        <source>fractional Brownian motion (spectral synthesis)</source>
        <translation>movimento browniano fracionário (síntese espectral)</translation>
    </message>
    <message>
        <source>Gaussian random field (Matern covariance)</source>
        <translation>campo aleatório gaussiano (covariância de Matérn)</translation>
    </message>
    <message>
        <source>autocorrelation range in cells</source>
        <translation>alcance da autocorrelação, em células</translation>
    </message>
    <message>
        <source>Matern smoothness nu: 0.5 exponential, large values Gaussian</source>
        <translation>suavidade nu de Matérn: 0,5 exponencial, valores grandes gaussiana</translation>
    </message>
    <message>
        <source>random cluster nearest-neighbour</source>
        <translation>agrupamento aleatório por vizinho mais próximo</translation>
    </message>
    <message>
        <source>share of cells that form the clusters</source>
        <translation>proporção de células que formam os agrupamentos</translation>
    </message>
    <message>
        <source>cluster rule: 4, 8 or NLMpy&apos;s diagonal structure [0 1 1; 1 1 1; 1 1 0]</source>
        <translation>regra de agrupamento: 4, 8 ou a estrutura diagonal do NLMpy [0 1 1; 1 1 1; 1 1 0]</translation>
    </message>
    <message>
        <source>random element nearest-neighbour</source>
        <translation>elemento aleatório por vizinho mais próximo</translation>
    </message>
    <message>
        <source>number of seed cells, at most the cell count</source>
        <translation>número de células-semente, no máximo o número de células</translation>
    </message>
    <message>
        <source>planar gradient</source>
        <translation>gradiente planar</translation>
    </message>
    <message>
        <source>bearing of the gradient in degrees from north</source>
        <translation>direção do gradiente em graus a partir do norte</translation>
    </message>
    <message>
        <source>edge gradient</source>
        <translation>gradiente de borda</translation>
    </message>
    <message>
        <source>distance gradient</source>
        <translation>gradiente de distância</translation>
    </message>
    <message>
        <source>number of random source cells, at most the cell count</source>
        <translation>número de células-fonte aleatórias, no máximo o número de células</translation>
    </message>
    <message>
        <source>grid of the landscape&apos;s size whose cells other than 0 and no-data are the sources; replaces n</source>
        <translation>grade do tamanho da paisagem cujas células diferentes de 0 e sem dados são as fontes; substitui n</translation>
    </message>
    <message>
        <source>wave surface</source>
        <translation>superfície de ondas</translation>
    </message>
    <message>
        <source>complete waves (crest and trough) along the direction</source>
        <translation>ondas completas (crista e cavado) ao longo da direção</translation>
    </message>
    <message>
        <source>random rectangular cluster</source>
        <translation>agrupamento retangular aleatório</translation>
    </message>
    <message>
        <source>shortest side in cells</source>
        <translation>menor lado, em células</translation>
    </message>
    <message>
        <source>longest side in cells</source>
        <translation>maior lado, em células</translation>
    </message>
    <message>
        <source>random curdling</source>
        <translation>coalhamento aleatório (curdling)</translation>
    </message>
    <message>
        <source>share of the still whole blocks cut at each level, separated by &apos;/&apos;</source>
        <translation>proporção dos blocos ainda inteiros cortados em cada nível, separada por &apos;/&apos;</translation>
    </message>
    <message>
        <source>blocks a side each block is split into at each level, by &apos;/&apos;</source>
        <translation>blocos por lado em que cada bloco é dividido em cada nível, separados por &apos;/&apos;</translation>
    </message>
    <message>
        <source>percolation map</source>
        <translation>mapa de percolação</translation>
    </message>
    <message>
        <source>probability of a habitat cell</source>
        <translation>probabilidade de uma célula de habitat</translation>
    </message>
    <message>
        <source>random tessellation (Voronoi mosaic)</source>
        <translation>tesselação aleatória (mosaico de Voronoi)</translation>
    </message>
    <message>
        <source>number of points (tiles)</source>
        <translation>número de pontos (ladrilhos)</translation>
    </message>
    <message>
        <source>neighbourhood clustering</source>
        <translation>agrupamento por vizinhança</translation>
    </message>
    <message>
        <source>probability for a cell beside a filled one</source>
        <translation>probabilidade para uma célula ao lado de uma preenchida</translation>
    </message>
    <message>
        <source>probability for a cell with no filled neighbour</source>
        <translation>probabilidade para uma célula sem vizinho preenchido</translation>
    </message>
    <message>
        <source>number of categories</source>
        <translation>número de categorias</translation>
    </message>
    <message>
        <source>cells that count as beside</source>
        <translation>células que contam como vizinhas</translation>
    </message>
    <message>
        <source>Perlin noise</source>
        <translation>ruído de Perlin</translation>
    </message>
    <message>
        <source>periods of the first octave across the longer side</source>
        <translation>períodos da primeira oitava ao longo do lado maior</translation>
    </message>
    <message>
        <source>number of octaves</source>
        <translation>número de oitavas</translation>
    </message>
    <message>
        <source>period growth per octave</source>
        <translation>crescimento do período por oitava</translation>
    </message>
    <message>
        <source>amplitude factor per octave</source>
        <translation>fator de amplitude por oitava</translation>
    </message>
    <message>
        <source>binary space partitioning</source>
        <translation>particionamento binário do espaço</translation>
    </message>
    <message>
        <source>number of rectangles, at most the cell count</source>
        <translation>número de retângulos, no máximo o número de células</translation>
    </message>
    <message>
        <source>which way leaves are halved</source>
        <translation>direção em que as folhas são divididas ao meio</translation>
    </message>
    <message>
        <source>largest length to width ratio (not for longest)</source>
        <translation>maior razão entre comprimento e largura (não para longest)</translation>
    </message>
</context>
<context>
    <name>setings</name>
    <message>
        <source>Settings</source>
        <translation>Configurações</translation>
    </message>
    <message>
        <source>Sample name</source>
        <translation>Nome da amostra</translation>
    </message>
    <message>
        <source>SMP_</source>
        <translation>SMP_</translation>
    </message>
    <message>
        <source>Sample post-string</source>
        <translation>Sufixo da amostra</translation>
    </message>
    <message>
        <source>Cover value </source>
        <translation>Valor de cobertura</translation>
    </message>
    <message>
        <source>Matrix value</source>
        <translation>Valor de matriz</translation>
    </message>
    <message>
        <source>Random seed</source>
        <translation>Semente aleatória</translation>
    </message>
    <message>
        <source>Starts the name of every window file a sampling run writes, and of its batch list (NAMEListFragStat.fbt)</source>
        <translation>Início do nome de cada arquivo de janela que uma amostragem grava e da sua lista de lote (NOMEListFragStat.fbt)</translation>
    </message>
    <message>
        <source>Added after each file name in the FRAGSTATS batch list</source>
        <translation>Acrescentado após cada nome de arquivo na lista de lote do FRAGSTATS</translation>
    </message>
    <message>
        <source>The class value written for habitat cells in landscape files</source>
        <translation>O valor de classe gravado para as células de habitat nos arquivos de paisagem</translation>
    </message>
    <message>
        <source>The class value written for matrix (non-habitat) cells in landscape files</source>
        <translation>O valor de classe gravado para as células de matriz (não habitat) nos arquivos de paisagem</translation>
    </message>
    <message>
        <source>Seed of the random landscapes: the same seed and settings give the same files</source>
        <translation>Semente das paisagens aleatórias: a mesma semente e os mesmos parâmetros dão os mesmos arquivos</translation>
    </message>
</context>
<context>
    <name>texts::detail</name>
    <message>
        <source>Calculando...</source>
        <translation>Calculando…</translation>
    </message>
    <message>
        <source>Tempo de busca total...</source>
        <translation>Tempo de busca total…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Choose file(s) do open</source>
        <translation>Escolha os arquivos a abrir</translation>
    </message>
    <message>
        <source>Sampling: no folder was chosen for the window files, nothing was written.</source>
        <translation>Amostragem: nenhuma pasta foi escolhida para os arquivos das janelas; nada foi gravado.</translation>
    </message>
    <message>
        <source>no image file was chosen</source>
        <translation>nenhum arquivo de imagem foi escolhido</translation>
    </message>
    <message>
        <source>the file does not exist</source>
        <translation>o arquivo não existe</translation>
    </message>
    <message>
        <source>it is not a plain file (a pipe or a device would block the window)</source>
        <translation>não é um arquivo comum (um pipe ou um dispositivo travaria a janela)</translation>
    </message>
    <message>
        <source>it is not a readable uncompressed 24- or 32-bit TGA image</source>
        <translation>não é uma imagem TGA legível sem compressão de 24 ou 32 bits</translation>
    </message>
    <message>
        <source>Não foi possivel carregar a imagem &quot;%1&quot;: %2.</source>
        <translation>Não foi possível carregar a imagem &quot;%1&quot;: %2.</translation>
    </message>
    <message>
        <source>Sampling: %1%2</source>
        <translation>Amostragem: %1%2</translation>
    </message>
    <message>
        <source>Sampling went on, but: %1.</source>
        <translation>A amostragem continuou, mas: %1.</translation>
    </message>
    <message numerus="yes">
        <source>Sampling stopped after %n window(s): %1.</source>
        <translation>
            <numerusform>A amostragem parou após %n janela: %1.</numerusform>
            <numerusform>A amostragem parou após %n janelas: %1.</numerusform>
        </translation>
    </message>
    <message>
        <source>Random landscapes: no folder was chosen, nothing was written.</source>
        <translation>Paisagens aleatórias: nenhuma pasta foi escolhida; nada foi gravado.</translation>
    </message>
    <message>
        <source>Random landscapes: %1</source>
        <translation>Paisagens aleatórias: %1</translation>
    </message>
    <message>
        <source>Fractal landscapes: no folder was chosen, nothing was written.</source>
        <translation>Paisagens fractais: nenhuma pasta foi escolhida; nada foi gravado.</translation>
    </message>
    <message>
        <source>Fractal landscapes: the folder %1 does not exist, nothing was written.</source>
        <translation>Paisagens fractais: a pasta %1 não existe; nada foi gravado.</translation>
    </message>
    <message>
        <source>Fractal landscapes: %1; nothing was written.</source>
        <translation>Paisagens fractais: %1; nada foi gravado.</translation>
    </message>
    <message>
        <source>Fractal landscapes: %1</source>
        <translation>Paisagens fractais: %1</translation>
    </message>
    <message>
        <source>Sample</source>
        <translation>Amostragem</translation>
    </message>
    <message>
        <source>Random landscapes</source>
        <translation>Paisagens aleatórias</translation>
    </message>
    <message>
        <source>Fractal landscapes</source>
        <translation>Paisagens fractais</translation>
    </message>
    <message>
        <source>%1: %2.</source>
        <translation>%1: %2.</translation>
    </message>
    <message>
        <source>Nothing was written. %1</source>
        <translation>Nada foi gravado. %1</translation>
    </message>
    <message>
        <source>%1 is not drawn: %2</source>
        <translation>%1 não é desenhado: %2</translation>
    </message>
    <message>
        <source>%1 is not drawn: it holds no grid lines</source>
        <translation>%1 não é desenhado: não tem linhas de grade</translation>
    </message>
    <message>
        <source>%1 (matrix)</source>
        <translation>%1 (matriz)</translation>
    </message>
    <message>
        <source>%1 (cover)</source>
        <translation>%1 (cobertura)</translation>
    </message>
    <message>
        <source>other values</source>
        <translation>outros valores</translation>
    </message>
    <message>
        <source>no data (%1)</source>
        <translation>sem dados (%1)</translation>
    </message>
    <message>
        <source>%1: %2 %</source>
        <translation>%1: %2 %</translation>
    </message>
    <message>
        <source>%1 rows × %2 columns</source>
        <translation>%1 linhas × %2 colunas</translation>
    </message>
    <message>
        <source>cover (%1): %2 %</source>
        <translation>cobertura (%1): %2 %</translation>
    </message>
    <message>
        <source>row %1, column %2: %3</source>
        <translation>linha %1, coluna %2: %3</translation>
    </message>
    <message>
        <source>Wheel or + and - to zoom, drag to pan, 0 to fit</source>
        <translation>Roda ou + e - para zoom, arraste para mover, 0 para ajustar</translation>
    </message>
    <message>
        <source>Landscape files (*.txt *.asc *.tif);;Images and GIS rasters (*.tga *.tif *.tiff *.img *.asc *.vrt *.nc *.gpkg);;All files (*)</source>
        <translation>Arquivos de paisagem (*.txt *.asc *.tif);;Imagens e rasters SIG (*.tga *.tif *.tiff *.img *.asc *.vrt *.nc *.gpkg);;Todos os arquivos (*)</translation>
    </message>
    <message>
        <source>Reveal in folder</source>
        <translation>Mostrar na pasta</translation>
    </message>
    <message>
        <source>Remove from list</source>
        <translation>Remover da lista</translation>
    </message>
    <message>
        <source>Export picture</source>
        <translation>Exportar figura</translation>
    </message>
    <message>
        <source>PNG picture as shown (*.png)</source>
        <translation>Figura PNG como exibida (*.png)</translation>
    </message>
    <message>
        <source>PNG picture, one pixel a cell (*.png)</source>
        <translation>Figura PNG, um pixel por célula (*.png)</translation>
    </message>
    <message>
        <source>SVG picture as shown (*.svg)</source>
        <translation>Figura SVG como exibida (*.svg)</translation>
    </message>
    <message>
        <source>SVG picture, one pixel a cell (*.svg)</source>
        <translation>Figura SVG, um pixel por célula (*.svg)</translation>
    </message>
    <message>
        <source>There is no picture to export: select a file first.</source>
        <translation>Não há figura a exportar: selecione um arquivo antes.</translation>
    </message>
    <message>
        <source>The picture could not be written to %1.</source>
        <translation>Não foi possível gravar a figura em %1.</translation>
    </message>
    <message>
        <source>Picture written to %1.</source>
        <translation>Figura gravada em %1.</translation>
    </message>
    <message>
        <source>About Orvalis</source>
        <translation>Sobre o Orvalis</translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;b&gt;Orvalis %1&lt;/b&gt;&lt;/p&gt;&lt;p&gt;A desktop tool for landscape ecologists: samples habitat windows from landscape images and land-cover maps, draws neutral landscapes and measures them.&lt;/p&gt;&lt;p&gt;Licence: GPL-3.0-or-later.&lt;/p&gt;&lt;p&gt;Example data: the &lt;tt&gt;examples/&lt;/tt&gt; folder of the source tree (a TGA forest image and an NLCD land-cover map).&lt;br&gt;Manual: &lt;tt&gt;man orvalis&lt;/tt&gt; and &lt;tt&gt;man orvalis-cli&lt;/tt&gt; when installed, and &lt;tt&gt;README.md&lt;/tt&gt; in the source tree.&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;b&gt;Orvalis %1&lt;/b&gt;&lt;/p&gt;&lt;p&gt;Uma ferramenta para ecólogos de paisagem: amostra janelas de habitat de imagens de paisagem e de mapas de cobertura do solo, gera paisagens neutras e as mede.&lt;/p&gt;&lt;p&gt;Licença: GPL-3.0-or-later.&lt;/p&gt;&lt;p&gt;Dados de exemplo: a pasta &lt;tt&gt;examples/&lt;/tt&gt; do código-fonte (uma imagem TGA de floresta e um mapa de cobertura do solo NLCD).&lt;br&gt;Manual: &lt;tt&gt;man orvalis&lt;/tt&gt; e &lt;tt&gt;man orvalis-cli&lt;/tt&gt; quando instalado, e &lt;tt&gt;README.md&lt;/tt&gt; no código-fonte.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Metrics</source>
        <translation>Métricas</translation>
    </message>
    <message>
        <source>View</source>
        <translation>Exibir</translation>
    </message>
    <message>
        <source>Metrics panel</source>
        <translation>Painel de métricas</translation>
    </message>
    <message>
        <source>Level</source>
        <translation>Nível</translation>
    </message>
    <message>
        <source>patch</source>
        <translation>mancha</translation>
    </message>
    <message>
        <source>class</source>
        <translation>classe</translation>
    </message>
    <message>
        <source>landscape</source>
        <translation>paisagem</translation>
    </message>
    <message>
        <source>Neighbour rule</source>
        <translation>Regra de vizinhança</translation>
    </message>
    <message>
        <source>8 cells: patches join at sides and corners</source>
        <translation>8 células: manchas se unem pelos lados e cantos</translation>
    </message>
    <message>
        <source>4 cells: patches join at sides only</source>
        <translation>4 células: manchas se unem só pelos lados</translation>
    </message>
    <message>
        <source>Cell side</source>
        <translation>Lado da célula</translation>
    </message>
    <message>
        <source> m</source>
        <translation> m</translation>
    </message>
    <message>
        <source>from the file&apos;s frame</source>
        <translation>do referenciamento do arquivo</translation>
    </message>
    <message>
        <source>the file&apos;s frame gives %1 m</source>
        <translation>o referenciamento do arquivo dá %1 m</translation>
    </message>
    <message>
        <source>the file gives none</source>
        <translation>o arquivo não informa</translation>
    </message>
    <message>
        <source>Metric</source>
        <translation>Métrica</translation>
    </message>
    <message>
        <source>Unit</source>
        <translation>Unidade</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Valor</translation>
    </message>
    <message>
        <source>Patch</source>
        <translation>Mancha</translation>
    </message>
    <message>
        <source>Class</source>
        <translation>Classe</translation>
    </message>
    <message>
        <source>class %1</source>
        <translation>classe %1</translation>
    </message>
    <message>
        <source>Code</source>
        <translation>Código</translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;b&gt;%1&lt;/b&gt; (%2)&lt;/p&gt;&lt;p&gt;%3&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;b&gt;%1&lt;/b&gt; (%2)&lt;/p&gt;&lt;p&gt;%3&lt;/p&gt;</translation>
    </message>
    <message>
        <source>NA: not defined for this grid</source>
        <translation>NA: não definido para esta grade</translation>
    </message>
    <message>
        <source>Areas in hectares, lengths in metres, values to 4 significant digits: a value&apos;s tooltip and Ctrl+C give every digit.</source>
        <translation>Áreas em hectares, comprimentos em metros, valores com 4 algarismos significativos: a dica de um valor e Ctrl+C dão todos os algarismos.</translation>
    </message>
    <message>
        <source>The first %1 of %2 patches are listed; orvalis-cli metrics --level patch lists them all.</source>
        <translation>As primeiras %1 de %2 manchas estão listadas; orvalis-cli metrics --level patch lista todas.</translation>
    </message>
    <message>
        <source>Measuring…</source>
        <translation>Medindo…</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copiar</translation>
    </message>
    <message>
        <source>%1 cells: too many to measure here; orvalis-cli metrics measures the file.</source>
        <translation>%1 células: demais para medir aqui; orvalis-cli metrics mede o arquivo.</translation>
    </message>
    <message>
        <source>Not measured: %1</source>
        <translation>Não medido: %1</translation>
    </message>
    <message>
        <source>sample name empty</source>
        <translation>nome da amostra vazio</translation>
    </message>
    <message>
        <source>sample post-string empty</source>
        <translation>sufixo da amostra vazio</translation>
    </message>
    <message>
        <source>cover value %1</source>
        <translation>valor de cobertura %1</translation>
    </message>
    <message>
        <source>matrix value %1</source>
        <translation>valor de matriz %1</translation>
    </message>
    <message>
        <source>config.txt could not be read completely (%1); using %2.</source>
        <translation>config.txt não pôde ser lido por completo (%1); usando %2.</translation>
    </message>
    <message>
        <source>config.txt has changed on disk since Orvalis read it. Replace it with these settings?</source>
        <translation>config.txt mudou no disco desde que o Orvalis o leu. Substituí-lo por estes parâmetros?</translation>
    </message>
    <message>
        <source>The settings apply until the program ends; config.txt was left as it was changed on disk.</source>
        <translation>Os parâmetros valem até o programa terminar; config.txt ficou como foi alterado no disco.</translation>
    </message>
    <message>
        <source>The settings apply until the program ends, but they could not be saved in config.txt: %1.</source>
        <translation>Os parâmetros valem até o programa terminar, mas não puderam ser salvos em config.txt: %1.</translation>
    </message>
    <message>
        <source>Map</source>
        <translation>Mapa</translation>
    </message>
    <message>
        <source>Open Map…</source>
        <translation>Abrir mapa…</translation>
    </message>
    <message>
        <source>Open Sample Log…</source>
        <translation>Abrir registro de amostragem…</translation>
    </message>
    <message>
        <source>Choose the map</source>
        <translation>Escolha o mapa</translation>
    </message>
    <message>
        <source>Choose the map %1 was sampled from</source>
        <translation>Escolha o mapa de onde %1 foi amostrado</translation>
    </message>
    <message>
        <source>Maps (*.tga *.TGA *.tif *.tiff *.TIF *.img *.asc *.nc *.vrt);;All files (*)</source>
        <translation>Mapas (*.tga *.TGA *.tif *.tiff *.TIF *.img *.asc *.nc *.vrt);;Todos os arquivos (*)</translation>
    </message>
    <message>
        <source>Choose a sample log</source>
        <translation>Escolha um registro de amostragem</translation>
    </message>
    <message>
        <source>Sample logs (sample*.txt *.txt);;All files (*)</source>
        <translation>Registros de amostragem (sample*.txt *.txt);;Todos os arquivos (*)</translation>
    </message>
    <message>
        <source>Reading the map…</source>
        <translation>Lendo o mapa…</translation>
    </message>
    <message>
        <source>No map: File → Open Map, File → Open Sample Log, or a sampling run.</source>
        <translation>Nenhum mapa: Arquivo → Abrir mapa, Arquivo → Abrir registro de amostragem, ou uma amostragem.</translation>
    </message>
    <message>
        <source>The map %1 could not be read: %2</source>
        <translation>Não foi possível ler o mapa %1: %2</translation>
    </message>
    <message>
        <source>No window file of the log could be read to learn the windows&apos; side (%1): only their centres are marked.</source>
        <translation>Nenhum arquivo de janela do registro pôde ser lido para saber o lado das janelas (%1): só os centros estão marcados.</translation>
    </message>
    <message>
        <source>Some of %1 was not shown:
%2</source>
        <translation>Parte de %1 não foi exibida:
%2</translation>
    </message>
    <message>
        <source>Window cover</source>
        <translation>Cobertura da janela</translation>
    </message>
    <message>
        <source>%1
cover %2%
centre column %3, row %4</source>
        <translation>%1
cobertura %2%
centro na coluna %3, linha %4</translation>
    </message>
    <message>
        <source>
map x %1, y %2</source>
        <translation>
mapa x %1, y %2</translation>
    </message>
    <message>
        <source>Values of %1</source>
        <translation>Valores de %1</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 de %2</translation>
    </message>
    <message>
        <source>band %1</source>
        <translation>banda %1</translation>
    </message>
    <message>
        <source>band %1: %2</source>
        <translation>banda %1: %2</translation>
    </message>
    <message>
        <source>The band of the map drawn</source>
        <translation>A banda do mapa desenhada</translation>
    </message>
    <message>
        <source>site %1
map x %2, y %3
largest buffer %4 map units</source>
        <translation>ponto %1
mapa x %2, y %3
maior buffer %4 unidades do mapa</translation>
    </message>
    <message>
        <source>1 site, buffer of %1 map units</source>
        <translation>1 ponto, buffer de %1 unidades do mapa</translation>
    </message>
    <message>
        <source>%1 sites, largest buffer %2 map units</source>
        <translation>%1 pontos, maior buffer %2 unidades do mapa</translation>
    </message>
    <message>
        <source>%1: drawn in the Grid tab</source>
        <translation>%1: desenhado na aba Grade</translation>
    </message>
    <message>
        <source>Analyse</source>
        <translation>Analisar</translation>
    </message>
    <message>
        <source>Compare with neutral models...</source>
        <translation>Comparar com modelos neutros…</translation>
    </message>
    <message>
        <source>There are no windows to compare: open landscape files or choose a sampling log.</source>
        <translation>Não há janelas a comparar: abra arquivos de paisagem ou escolha um registro de amostragem.</translation>
    </message>
    <message>
        <source>No output folder was given for the comparison.</source>
        <translation>Nenhuma pasta de saída foi dada para a comparação.</translation>
    </message>
    <message>
        <source>The folder %1 could not be created.</source>
        <translation>Não foi possível criar a pasta %1.</translation>
    </message>
    <message>
        <source>The comparison was not run: %1</source>
        <translation>A comparação não foi feita: %1</translation>
    </message>
    <message>
        <source>The comparison ended with a problem: %1</source>
        <translation>A comparação terminou com um problema: %1</translation>
    </message>
    <message>
        <source>Comparison cancelled: the tables hold the windows finished before.</source>
        <translation>Comparação cancelada: as tabelas têm as janelas terminadas antes.</translation>
    </message>
    <message>
        <source>Comparison: %1 neutral replicates measured.</source>
        <translation>Comparação: %1 réplicas neutras medidas.</translation>
    </message>
    <message>
        <source>Comparison with neutral models</source>
        <translation>Comparação com modelos neutros</translation>
    </message>
    <message>
        <source>Tables saved in %1 (compare.csv, neutral-metrics.csv, windows.csv)</source>
        <translation>Tabelas salvas em %1 (compare.csv, neutral-metrics.csv, windows.csv)</translation>
    </message>
    <message>
        <source>The comparison&apos;s tables could not be read: %1</source>
        <translation>Não foi possível ler as tabelas da comparação: %1</translation>
    </message>
    <message>
        <source>Chart:</source>
        <translation>Gráfico:</translation>
    </message>
    <message>
        <source>%1, landscape level</source>
        <translation>%1, nível de paisagem</translation>
    </message>
    <message>
        <source>%1, class %2</source>
        <translation>%1, classe %2</translation>
    </message>
    <message>
        <source>Percolation of random landscapes</source>
        <translation>Percolação das paisagens aleatórias</translation>
    </message>
    <message>
        <source>&amp;Export...</source>
        <translation>&amp;Exportar…</translation>
    </message>
    <message>
        <source>Export the chart</source>
        <translation>Exportar o gráfico</translation>
    </message>
    <message>
        <source>PNG picture (*.png);;SVG drawing (*.svg)</source>
        <translation>Figura PNG (*.png);;Desenho SVG (*.svg)</translation>
    </message>
    <message>
        <source>Chart saved as %1</source>
        <translation>Gráfico salvo como %1</translation>
    </message>
    <message>
        <source>Metrics around sites...</source>
        <translation>Métricas em torno de pontos…</translation>
    </message>
    <message>
        <source>Choose the land-cover map</source>
        <translation>Escolha o mapa de cobertura do solo</translation>
    </message>
    <message>
        <source>Land-cover maps (*.tif *.tiff *.gtif *.img *.vrt *.asc *.nc *.kea *.jp2 *.gpkg *.rst *.sdat);;All files (*)</source>
        <translation>Mapas de cobertura do solo (*.tif *.tiff *.gtif *.img *.vrt *.asc *.nc *.kea *.jp2 *.gpkg *.rst *.sdat);;Todos os arquivos (*)</translation>
    </message>
    <message>
        <source>Choose the sites</source>
        <translation>Escolha os pontos</translation>
    </message>
    <message>
        <source>Sites (*.csv *.gpkg *.shp *.geojson *.json);;CSV tables (*.csv);;All files (*)</source>
        <translation>Pontos (*.csv *.gpkg *.shp *.geojson *.json);;Tabelas CSV (*.csv);;Todos os arquivos (*)</translation>
    </message>
    <message>
        <source>Save the sites&apos; table as</source>
        <translation>Salvar a tabela dos pontos como</translation>
    </message>
    <message>
        <source>CSV tables (*.csv);;All files (*)</source>
        <translation>Tabelas CSV (*.csv);;Todos os arquivos (*)</translation>
    </message>
    <message>
        <source>the radius &apos;%1&apos; is not a number</source>
        <translation>o raio &apos;%1&apos; não é um número</translation>
    </message>
    <message>
        <source>a radius must be above 0, not %1</source>
        <translation>um raio deve ser maior que 0, não %1</translation>
    </message>
    <message>
        <source>give at least one radius, e.g. 250, 500, 1000</source>
        <translation>dê ao menos um raio, p. ex. 250, 500, 1000</translation>
    </message>
    <message>
        <source>Choose the land-cover map to measure.</source>
        <translation>Escolha o mapa de cobertura do solo a medir.</translation>
    </message>
    <message>
        <source>%1 does not exist.</source>
        <translation>%1 não existe.</translation>
    </message>
    <message>
        <source>Choose the file of the sites.</source>
        <translation>Escolha o arquivo dos pontos.</translation>
    </message>
    <message>
        <source>Radii: %1.</source>
        <translation>Raios: %1.</translation>
    </message>
    <message>
        <source>Habitat classes: %1</source>
        <translation>Classes de habitat: %1</translation>
    </message>
    <message>
        <source>Tick at least one metric, or take the standard set.</source>
        <translation>Marque ao menos uma métrica, ou use o conjunto padrão.</translation>
    </message>
    <message>
        <source>Metrics: %1</source>
        <translation>Métricas: %1</translation>
    </message>
    <message>
        <source>Name the table to write.</source>
        <translation>Dê o nome da tabela a gravar.</translation>
    </message>
    <message>
        <source>The table would replace %1: name another file.</source>
        <translation>A tabela substituiria %1: dê outro nome.</translation>
    </message>
    <message>
        <source>The table&apos;s folder %1 does not exist.</source>
        <translation>A pasta da tabela %1 não existe.</translation>
    </message>
    <message>
        <source>The map %1 cannot be measured: %2</source>
        <translation>O mapa %1 não pode ser medido: %2</translation>
    </message>
    <message>
        <source>The map %1 has no frame or a rotated one: buffers in map units need a north-up map.</source>
        <translation>O mapa %1 não tem referenciamento ou o tem rotacionado: buffers em unidades do mapa precisam de um mapa com o norte para cima.</translation>
    </message>
    <message>
        <source>The sites in %1 cannot be read: %2</source>
        <translation>Os pontos em %1 não podem ser lidos: %2</translation>
    </message>
    <message>
        <source>%1 holds no sites.</source>
        <translation>%1 não tem pontos.</translation>
    </message>
    <message>
        <source>the map gives no cell size (%1): cells are measured as 1 m and radii are in its units</source>
        <translation>o mapa não dá o tamanho de célula (%1): as células são medidas como 1 m e os raios estão nas suas unidades</translation>
    </message>
    <message>
        <source>sites file: %1</source>
        <translation>arquivo de pontos: %1</translation>
    </message>
    <message>
        <source>site %1: %2</source>
        <translation>ponto %1: %2</translation>
    </message>
    <message>
        <source>site %1 not measured: %2</source>
        <translation>ponto %1 não medido: %2</translation>
    </message>
    <message>
        <source>Sites: %1 of %2 measured at 1 radius; table %3.</source>
        <translation>Pontos: %1 de %2 medidos em 1 raio; tabela %3.</translation>
    </message>
    <message>
        <source>Sites: %1 of %2 measured at %3 radii; table %4.</source>
        <translation>Pontos: %1 de %2 medidos em %3 raios; tabela %4.</translation>
    </message>
    <message>
        <source>Sites cancelled: no table was written.</source>
        <translation>Pontos cancelados: nenhuma tabela foi gravada.</translation>
    </message>
    <message>
        <source>The sites were not measured: %1: %2</source>
        <translation>Os pontos não foram medidos: %1: %2</translation>
    </message>
    <message>
        <source>The sites&apos; table %1 could not be written: %2</source>
        <translation>Não foi possível gravar a tabela dos pontos %1: %2</translation>
    </message>
    <message>
        <source>Metrics around sites</source>
        <translation>Métricas em torno de pontos</translation>
    </message>
    <message>
        <source>Table saved as %1</source>
        <translation>Tabela salva como %1</translation>
    </message>
    <message>
        <source>Site</source>
        <translation>Ponto</translation>
    </message>
    <message>
        <source>Radius</source>
        <translation>Raio</translation>
    </message>
    <message>
        <source>Warnings, and sites not measured:</source>
        <translation>Avisos, e pontos não medidos:</translation>
    </message>
    <message>
        <source>%1 could not be written: %2</source>
        <translation>Não foi possível gravar %1: %2</translation>
    </message>
    <message>
        <source>Moving-window surface...</source>
        <translation>Superfície de janela móvel…</translation>
    </message>
    <message>
        <source>Save the surface as</source>
        <translation>Salvar a superfície como</translation>
    </message>
    <message>
        <source>GeoTIFF (*.tif *.tiff);;All files (*)</source>
        <translation>GeoTIFF (*.tif *.tiff);;Todos os arquivos (*)</translation>
    </message>
    <message>
        <source>Choose the land-cover map.</source>
        <translation>Escolha o mapa de cobertura do solo.</translation>
    </message>
    <message>
        <source>The window must be an odd number of cells, so that it has a centre cell: not %1.</source>
        <translation>A janela deve ter um número ímpar de células, para ter uma célula central: não %1.</translation>
    </message>
    <message>
        <source>Tick at least one metric.</source>
        <translation>Marque ao menos uma métrica.</translation>
    </message>
    <message>
        <source>Name the GeoTIFF to write.</source>
        <translation>Dê o nome do GeoTIFF a gravar.</translation>
    </message>
    <message>
        <source>The surface would replace the map %1: name another file.</source>
        <translation>A superfície substituiria o mapa %1: dê outro nome.</translation>
    </message>
    <message>
        <source>%1 is a folder: name a file.</source>
        <translation>%1 é uma pasta: dê o nome de um arquivo.</translation>
    </message>
    <message>
        <source>The surface&apos;s folder %1 does not exist.</source>
        <translation>A pasta da superfície %1 não existe.</translation>
    </message>
    <message>
        <source>The map %1 cannot be read: %2</source>
        <translation>O mapa %1 não pode ser lido: %2</translation>
    </message>
    <message>
        <source>The surface was not made: %1</source>
        <translation>A superfície não foi feita: %1</translation>
    </message>
    <message>
        <source>The surface could not be made: %1; nothing was written.</source>
        <translation>Não foi possível fazer a superfície: %1; nada foi gravado.</translation>
    </message>
    <message>
        <source>Surface cancelled: nothing was written.</source>
        <translation>Superfície cancelada: nada foi gravado.</translation>
    </message>
    <message>
        <source>Surface written to %1.</source>
        <translation>Superfície gravada em %1.</translation>
    </message>
    <message>
        <source>Manual</source>
        <translation>Manual</translation>
    </message>
    <message>
        <source>Orvalis manual</source>
        <translation>Manual do Orvalis</translation>
    </message>
    <message>
        <source>The manual (README.md) is not installed here: see &lt;tt&gt;man orvalis&lt;/tt&gt; and &lt;tt&gt;man orvalis-cli&lt;/tt&gt;, or README.md in the source tree.</source>
        <translation>O manual (README.md) não está instalado aqui: veja &lt;tt&gt;man orvalis&lt;/tt&gt; e &lt;tt&gt;man orvalis-cli&lt;/tt&gt;, ou README.md no código-fonte.</translation>
    </message>
    <message>
        <source>Open a map or a sample log, or Create → Sample</source>
        <translation>Abra um mapa ou um registro de amostragem, ou Criar → Amostrar</translation>
    </message>
    <message>
        <source>File → Open lists landscape files (text grids, ASCII grids, GeoTIFF) and draws the one selected. Or look at an example first:</source>
        <translation>Arquivo → Abrir lista arquivos de paisagem (grades de texto, grades ASCII, GeoTIFF) e desenha o selecionado. Ou veja antes um exemplo:</translation>
    </message>
    <message>
        <source>Example image: %1</source>
        <translation>Imagem de exemplo: %1</translation>
    </message>
    <message>
        <source>A forest image to sample (TGA: dark pixels are habitat), shown in the Map tab</source>
        <translation>Uma imagem de floresta para amostrar (TGA: pixels escuros são habitat), exibida na aba Mapa</translation>
    </message>
    <message>
        <source>Example land-cover map: %1</source>
        <translation>Mapa de cobertura do solo de exemplo: %1</translation>
    </message>
    <message>
        <source>A land-cover map (GeoTIFF, NLCD classes), shown in the Map tab</source>
        <translation>Um mapa de cobertura do solo (GeoTIFF, classes NLCD), exibido na aba Mapa</translation>
    </message>
    <message>
        <source>Tool bar</source>
        <translation>Barra de ferramentas</translation>
    </message>
    <message>
        <source>%1 of %2 windows written</source>
        <translation>%1 de %2 janelas gravadas</translation>
    </message>
    <message>
        <source>%1 %2 % left</source>
        <translation>%1 %2 % restantes</translation>
    </message>
    <message>
        <source>Log of an earlier run</source>
        <translation>Registro de uma amostragem anterior</translation>
    </message>
    <message numerus="yes">
        <source>%1 already holds the log of an earlier run: %n window(s), written %2.</source>
        <translation>
            <numerusform>%1 já contém o registro de uma amostragem anterior, gravado em %2: %n janela.</numerusform>
            <numerusform>%1 já contém o registro de uma amostragem anterior, gravado em %2: %n janelas.</numerusform>
        </translation>
    </message>
    <message>
        <source>This run replaces it. Keep a copy of it as %1?</source>
        <translation>Esta amostragem vai substituí-lo. Guardar uma cópia dele como %1?</translation>
    </message>
    <message>
        <source>Keep a copy</source>
        <translation>Guardar uma cópia</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Substituir</translation>
    </message>
    <message>
        <source>Sampling: the earlier log could not be kept (%1); nothing was written.</source>
        <translation>Amostragem: não foi possível guardar o registro anterior (%1); nada foi gravado.</translation>
    </message>
    <message>
        <source>The earlier run&apos;s log was kept as %1.</source>
        <translation>O registro da amostragem anterior foi guardado como %1.</translation>
    </message>
    <message>
        <source>%1, habitat (class %2)</source>
        <translation>%1, habitat (classe %2)</translation>
    </message>
    <message>
        <source>%1, matrix (class %2)</source>
        <translation>%1, matriz (classe %2)</translation>
    </message>
    <message>
        <source>Not charted, the same in every window and replicate: %1</source>
        <translation>Fora do gráfico, por serem iguais em todas as janelas e réplicas: %1</translation>
    </message>
    <message>
        <source>%1
cover %2 %, value %3</source>
        <translation>%1
cobertura %2 %, valor %3</translation>
    </message>
    <message>
        <source>Cell size used: %1</source>
        <translation>Tamanho de célula usado: %1</translation>
    </message>
    <message>
        <source>Cell size used: %1 m, as given above: the windows give none of their own</source>
        <translation>Tamanho de célula usado: %1 m, o dado acima: as janelas não informam o seu</translation>
    </message>
    <message>
        <source>Cell size used: from %1 to %2 m, each window its own</source>
        <translation>Tamanho de célula usado: de %1 a %2 m, cada janela com o seu</translation>
    </message>
    <message>
        <source>It will write about %1.</source>
        <translation>Serão gravados cerca de %1.</translation>
    </message>
    <message>
        <source>This comparison will write about %1 into %2. Go on?</source>
        <translation>Esta comparação vai gravar cerca de %1 em %2. Continuar?</translation>
    </message>
    <message>
        <source>Neutral landscapes</source>
        <translation>Paisagens neutras</translation>
    </message>
    <message>
        <source>%1 of %2 landscapes written</source>
        <translation>%1 de %2 paisagens gravadas</translation>
    </message>
    <message>
        <source>%1 (%2 of %3)</source>
        <translation>%1 (%2 de %3)</translation>
    </message>
    <message>
        <source>; short: %1</source>
        <translation>; incompletos: %1</translation>
    </message>
    <message>
        <source> and %1 more</source>
        <translation> e mais %1</translation>
    </message>
    <message>
        <source>the grid is not rectangular: its rows differ in length</source>
        <translation>a grade não é retangular: suas linhas têm comprimentos diferentes</translation>
    </message>
</context>
</TS>
